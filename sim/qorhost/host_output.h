#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace qor::tools::qorhost {

// "0x8000FFFF": eight upper-case hex digits, as every `hr=` of the script output shows them.
inline std::string HresultText(HRESULT hr) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace qor::tools::qorhost
