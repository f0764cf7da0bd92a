#pragma once

#include <cstddef>
#include <string_view>

namespace qor::host::memory {

// Outlook compares keywords, property names and filter values ignoring letter case; ASCII folding is
// enough for them. Folder names compare in every script (platform/case_blind.h).
constexpr char ToLowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace qor::host::memory
