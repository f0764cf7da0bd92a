#pragma once

#include <string_view>

namespace qor::engine {

// Orders text the way Windows' case-ignoring, locale-aware comparison of the default
// locale orders ASCII addresses: "%" < "." < "@" < "_" < "+" < digits < letters, letters
// ignoring case, and "-" and "'" ignored at first and deciding only between texts that are
// otherwise equal (word sort). Other bytes, those of UTF-8 letters among them, sort after the
// letters by value, so addresses beyond ASCII sort by code point.
// Returns a negative number, zero or a positive number.
int CompareAddressText(std::string_view a, std::string_view b);

struct AddressTextLess {
  bool operator()(std::string_view a, std::string_view b) const { return CompareAddressText(a, b) < 0; }
};

}  // namespace qor::engine
