#include <windows.h>

#include "platform/case_blind.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  const auto wideA = WidenStrictly(a, CP_UTF8);
  const auto wideB = WidenStrictly(b, CP_UTF8);
  if (!wideA || !wideB) return false;  // unequal bytes that are no UTF-8
  return CompareStringOrdinal(wideA->data(), static_cast<int>(wideA->size()), wideB->data(),
                              static_cast<int>(wideB->size()), TRUE) == CSTR_EQUAL;
}

}  // namespace qor::platform
