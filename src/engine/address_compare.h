#pragma once

#include <string_view>

namespace qor::engine {

// Orders text the way Windows' case-ignoring, locale-aware comparison of the default
// locale orders addresses: "." < "@" < "_" < digits < letters, letters ignoring case, and
// "-" ignored at first and deciding only between texts that are otherwise equal (word sort).
// Bytes outside the address characters sort after the letters, by value.
// Returns a negative number, zero or a positive number.
int CompareAddressText(std::string_view a, std::string_view b);

struct AddressTextLess {
  bool operator()(std::string_view a, std::string_view b) const { return CompareAddressText(a, b) < 0; }
};

}  // namespace qor::engine
