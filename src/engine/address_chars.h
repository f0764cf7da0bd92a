#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/text.h"

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

// CaseBlindEqual for address text, eight bytes at a time: among ASCII address characters, setting
// bit 0x20 changes only A to Z, into a to z; bytes beyond ASCII must match exactly.
inline bool SameAddress(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  constexpr std::uint64_t kCaseBits = 0x2020202020202020u;
  for (std::size_t at = 0; at < a.size(); at += 8) {
    const std::uint64_t x = WordAt(a, at);
    const std::uint64_t y = WordAt(b, at);
    if (x == y) continue;
    if (((x | y) & kHighBits) != 0) return CaseBlindEqual()(a.substr(at), b.substr(at));
    if ((x | kCaseBits) != (y | kCaseBits)) return false;
  }
  return true;
}

}  // namespace qor::engine
