#include "engine/text.h"

#include <algorithm>

namespace qor::engine {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string Trim(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), IsBlank).base();
  return std::string(first, last);
}

std::string LowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = LowerAsciiChar(c);
  return result;
}

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

}  // namespace qor::engine
