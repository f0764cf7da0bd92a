#include "platform/text_encoding.h"

#include <cstddef>

#include "platform/utf8.h"

namespace qor::platform {
namespace {

unsigned char Byte(std::string_view bytes, std::size_t at) noexcept { return static_cast<unsigned char>(bytes[at]); }

// UTF-16 without a mark, read in the order the NUL bytes suggest. It must be strict: damage that
// left a few NULs in a single-byte file must not pass as UTF-16, since a wrong guess would show
// and save that file as Chinese. So: no unit U+0000; every unit with a zero high byte is a
// printable character, tab or line break; and such units, which ASCII text is made of, are at
// least half of all, or an eighth with a line break among them (text in other scripts).
bool IsUnmarkedUtf16(std::string_view bytes, bool littleEndian) noexcept {
  const std::size_t high = littleEndian ? 1 : 0;
  const std::size_t units = bytes.size() / 2;
  std::size_t asciiUnits = 0;
  bool lineBreak = false;
  for (std::size_t unit = 0; unit < units; ++unit) {
    if (Byte(bytes, 2 * unit + high) != 0) continue;
    const unsigned char low = Byte(bytes, 2 * unit + 1 - high);
    const bool isBreak = low == '\r' || low == '\n';
    if (low < 0x20 && low != '\t' && !isBreak) return false;
    if (low >= 0x7F && low < 0xA0) return false;
    lineBreak = lineBreak || isBreak;
    ++asciiUnits;
  }
  return 2 * asciiUnits >= units || (lineBreak && 8 * asciiUnits >= units);
}

}  // namespace

MarkedText DetectTextEncoding(std::string_view bytes) noexcept {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::Utf8, bytes.substr(3)};
  if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::Utf16Le, bytes.substr(2)};
  if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::Utf16Be, bytes.substr(2)};

  std::size_t nulsAtOdd = 0;
  std::size_t nulsAtEven = 0;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] == '\0') ++(at % 2 != 0 ? nulsAtOdd : nulsAtEven);
  }
  if (nulsAtOdd + nulsAtEven == 0 || bytes.size() % 2 != 0) return {TextEncoding::Plain, bytes};
  // Little-endian UTF-16 puts an ASCII character's zero high byte at an odd offset.
  const bool littleEndian = nulsAtOdd > nulsAtEven;
  if (!IsUnmarkedUtf16(bytes, littleEndian)) return {TextEncoding::Plain, bytes};
  return {littleEndian ? TextEncoding::Utf16Le : TextEncoding::Utf16Be, bytes};
}

bool IsUtf8BeyondAscii(std::string_view bytes) noexcept {
  bool beyondAscii = false;
  for (std::size_t at = 0; at < bytes.size();) {
    const Utf8Char c = DecodeUtf8(bytes, at);
    if (c.size == 0) return false;
    beyondAscii = beyondAscii || c.size > 1;
    at += c.size;
  }
  return beyondAscii;
}

const char* EncodingName(TextEncoding encoding, const char* plainName) noexcept {
  switch (encoding) {
    case TextEncoding::Utf8:
      return "UTF-8 text";
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      return "UTF-16 text";
    case TextEncoding::Plain:
      break;
  }
  return plainName;
}

}  // namespace qor::platform
