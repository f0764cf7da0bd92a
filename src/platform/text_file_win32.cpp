#include <windows.h>

#include <optional>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/text_codec.h"
#include "platform/text_file.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {
namespace {

// UTF-16 code units from bytes in either order; null for an odd number of bytes.
std::optional<std::wstring> Utf16Units(std::string_view bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::wstring units(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(WidenUtf8(text)); }

namespace detail {

const char* const kPlainEncodingName = "text in the system's code page";

// In the ANSI code page when it holds every character, byte for byte what the programs that read
// these files have always got; otherwise UTF-8 with a byte-order mark, which they recognise,
// rather than question marks.
std::string EncodeText(std::string_view text) {
  const std::wstring wide = WidenUtf8(text);
  if (const auto ansi = NarrowLosslessly(wide, CP_ACP)) return *ansi;
  return "\xEF\xBB\xBF" + std::string(text);
}

std::optional<std::string> DecodeText(const MarkedText& text) {
  std::optional<std::wstring> wide;
  switch (text.encoding) {
    case TextEncoding::Plain:
      // Valid UTF-8 beyond ASCII is almost never single-byte text: a file saved as UTF-8
      // without a mark.
      wide = WidenStrictly(text.body, IsUtf8BeyondAscii(text.body) ? CP_UTF8 : CP_ACP);
      break;
    case TextEncoding::Utf8:
      wide = WidenStrictly(text.body, CP_UTF8);
      break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      wide = Utf16Units(text.body, text.encoding == TextEncoding::Utf16Be);
      break;
  }
  return wide ? NarrowToUtf8Strictly(*wide) : std::nullopt;
}

}  // namespace detail

}  // namespace qor::platform
