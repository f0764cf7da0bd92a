#pragma once

#include <cstddef>
#include <string_view>

namespace qor::engine {

// How extraction reads a character of UTF-8 text.
enum class CharKind : unsigned char {
  Separator,  // ends an address: blanks, punctuation, brackets, quotation marks, URL delimiters
  Address,    // may stand in an address: ASCII letters, digits, - . @ _ + ' %, letters beyond ASCII
  Glue,       // joins a token no address is cut out of: $ * ^ ` ~, bytes that are no UTF-8, U+FFFD
};

struct TextChar {
  char32_t code;     // the code point; a byte that is no UTF-8 stands for itself
  std::size_t size;  // its length in bytes, 1 to 4
  CharKind kind;
};

// The character that starts at `at` (< text.size()).
TextChar CharAt(std::string_view text, std::size_t at) noexcept;

// The character that ends just before `at` (> 0).
TextChar CharBefore(std::string_view text, std::size_t at) noexcept;

// Whether two adjacent address characters belong to different tokens: scripts written without
// blanks between words (Chinese, Japanese, Korean, Thai) abut Latin text directly, so an address
// ends where an ASCII letter or digit meets a letter of such a script.
bool IsScriptBoundary(char32_t left, char32_t right) noexcept;

// Leading and trailing characters that are the sentence's, not the address's: a full stop, quotes.
constexpr bool IsEdgePunctuation(char c) noexcept { return c == '.' || c == '\''; }

}  // namespace qor::engine
