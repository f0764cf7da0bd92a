#include "engine/address_chars.h"

#include "platform/utf8.h"

namespace qor::engine {

namespace {

constexpr bool InRange(char32_t c, char32_t first, char32_t last) noexcept { return c >= first && c <= last; }

// Blanks and punctuation beyond ASCII that text puts around an address: Latin-1's blanks, signs
// and quotation marks, the general and CJK punctuation blocks, full-width punctuation, and the
// sentence marks of the Greek, Armenian, Arabic and Devanagari scripts.
bool IsPunctuationOrBlank(char32_t c) noexcept {
  return InRange(c, 0x80, 0xBF) || c == 0xD7 || c == 0xF7 || c == 0x37E || c == 0x387 || InRange(c, 0x55A, 0x55F) ||
         c == 0x589 || c == 0x60C || c == 0x61B || c == 0x61F || c == 0x6D4 || c == 0x964 || c == 0x965 ||
         InRange(c, 0x2000, 0x206F) || InRange(c, 0x2E00, 0x2E7F) || InRange(c, 0x3000, 0x3004) ||
         InRange(c, 0x3008, 0x3020) || c == 0x3030 || InRange(c, 0xFE10, 0xFE1F) || InRange(c, 0xFE30, 0xFE6F) ||
         c == 0xFEFF || InRange(c, 0xFF00, 0xFF0F) || InRange(c, 0xFF1A, 0xFF20) || InRange(c, 0xFF3B, 0xFF40) ||
         InRange(c, 0xFF5B, 0xFF65);
}

// Letters of scripts written without blanks between words: Thai, Lao, Myanmar, Khmer, Hangul,
// kana and the CJK ideographs.
bool IsSpacelessScript(char32_t c) noexcept {
  return InRange(c, 0xE00, 0xEFF) || InRange(c, 0x1000, 0x109F) || InRange(c, 0x1100, 0x11FF) ||
         InRange(c, 0x1780, 0x17FF) || InRange(c, 0x2E80, 0x9FFF) || InRange(c, 0xAC00, 0xD7AF) ||
         InRange(c, 0xF900, 0xFAFF) || InRange(c, 0xFF66, 0xFF9F) || InRange(c, 0x20000, 0x3FFFF);
}

bool IsAsciiLetterOrDigit(char32_t c) noexcept {
  return InRange(c, '0', '9') || InRange(c, 'A', 'Z') || InRange(c, 'a', 'z');
}

CharKind KindOf(char32_t c) noexcept {
  if (c < 0x80) return detail::kAsciiKinds[c];
  if (c == 0xFFFD || c == 0xFFFE || c == 0xFFFF) return CharKind::Glue;  // a character lost to a bad conversion
  return IsPunctuationOrBlank(c) ? CharKind::Separator : CharKind::Address;
}

bool IsContinuation(char byte) noexcept { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

namespace detail {

TextChar NonAsciiCharAt(std::string_view text, std::size_t at) noexcept {
  const platform::Utf8Char c = platform::DecodeUtf8(text, at);
  if (c.size == 0) return {c.code, 1, CharKind::Glue};
  return {c.code, c.size, KindOf(c.code)};
}

TextChar NonAsciiCharBefore(std::string_view text, std::size_t at) noexcept {
  std::size_t start = at - 1;
  while (start > 0 && at - start < 4 && IsContinuation(text[start])) --start;
  const TextChar found = CharAt(text, start);
  if (start + found.size == at) return found;
  return {static_cast<unsigned char>(text[at - 1]), 1, CharKind::Glue};
}

bool IsSpacelessScriptBoundary(char32_t left, char32_t right) noexcept {
  return (IsAsciiLetterOrDigit(left) && IsSpacelessScript(right)) ||
         (IsSpacelessScript(left) && IsAsciiLetterOrDigit(right));
}

}  // namespace detail

}  // namespace qor::engine
