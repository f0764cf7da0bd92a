#pragma once

#include <array>
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

namespace detail {

constexpr std::array<CharKind, 128> MakeAsciiKinds() {
  std::array<CharKind, 128> kinds{};
  for (int c = '0'; c <= '9'; ++c) kinds[c] = CharKind::Address;
  for (int c = 'a'; c <= 'z'; ++c) kinds[c] = kinds[c - 'a' + 'A'] = CharKind::Address;
  for (const char c : std::string_view("-.@_+'%")) kinds[static_cast<unsigned char>(c)] = CharKind::Address;
  // Characters an address may hold that the bounces seen join identifiers with ("$" and "~" in
  // message ids, "*" in wildcards): a run next to one is part of a longer token.
  for (const char c : std::string_view("$*^`~")) kinds[static_cast<unsigned char>(c)] = CharKind::Glue;
  return kinds;
}

inline constexpr std::array<CharKind, 128> kAsciiKinds = MakeAsciiKinds();

// The slow halves of the functions below, for text beyond ASCII.
TextChar NonAsciiCharAt(std::string_view text, std::size_t at) noexcept;
TextChar NonAsciiCharBefore(std::string_view text, std::size_t at) noexcept;
bool IsSpacelessScriptBoundary(char32_t left, char32_t right) noexcept;

}  // namespace detail

// The character that starts at `at` (< text.size()).
inline TextChar CharAt(std::string_view text, std::size_t at) noexcept {
  const auto byte = static_cast<unsigned char>(text[at]);
  return byte < 0x80 ? TextChar{byte, 1, detail::kAsciiKinds[byte]} : detail::NonAsciiCharAt(text, at);
}

// The character that ends just before `at` (> 0).
inline TextChar CharBefore(std::string_view text, std::size_t at) noexcept {
  const auto byte = static_cast<unsigned char>(text[at - 1]);
  return byte < 0x80 ? TextChar{byte, 1, detail::kAsciiKinds[byte]} : detail::NonAsciiCharBefore(text, at);
}

// Whether two adjacent address characters belong to different tokens: scripts written without
// blanks between words (Chinese, Japanese, Korean, Thai) abut Latin text directly, so an address
// ends where an ASCII letter or digit meets a letter of such a script.
inline bool IsScriptBoundary(char32_t left, char32_t right) noexcept {
  return (left | right) >= 0x80 && detail::IsSpacelessScriptBoundary(left, right);
}

// Leading and trailing characters that are the sentence's, not the address's: a full stop, quotes.
constexpr bool IsEdgePunctuation(char c) noexcept { return c == '.' || c == '\''; }

}  // namespace qor::engine
