#pragma once

#include <cstddef>
#include <string_view>

namespace qor::platform {

// ASCII letter case, for what Outlook, Office and the add-in compare that way: keywords, property,
// field and program names, start modes, command-bar names. Text in every script compares with
// SameTextIgnoringCase (case_blind.h).
template <class Char>
constexpr Char LowerAsciiChar(Char c) noexcept {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <class Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
  }
  return true;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  return EqualsIgnoringAsciiCase<char>(a, b);
}

constexpr bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept {
  return EqualsIgnoringAsciiCase<wchar_t>(a, b);
}

}  // namespace qor::platform
