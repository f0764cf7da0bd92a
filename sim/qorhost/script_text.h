#pragma once

#include <string>

namespace qor::tools::qorhost {

// `text` without the blanks (spaces, tabs, a CR) at either end.
inline std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace qor::tools::qorhost
