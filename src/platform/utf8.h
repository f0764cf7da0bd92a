#pragma once

#include <cstddef>
#include <string_view>

namespace qor::platform {

struct Utf8Char {
  char32_t code;
  std::size_t size;  // bytes, 1 to 4; 0 when the bytes at that place are no UTF-8
};

// The character that starts at `at` (< text.size()). Overlong forms, surrogates and code points
// past U+10FFFF are no UTF-8.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at) noexcept;

}  // namespace qor::platform
