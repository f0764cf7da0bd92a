#include <windows.h>

#include <optional>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/byte_order_mark.h"
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

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  WriteFileAtomically(path, Narrow(WidenUtf8(text), CP_ACP));
}

std::string ReadTextFile(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  const MarkedText marked = SplitByteOrderMark(bytes);
  std::optional<std::wstring> wide;
  switch (marked.encoding) {
    case TextEncoding::Plain:
      wide = WidenStrictly(marked.body, CP_ACP);
      break;
    case TextEncoding::Utf8:
      wide = WidenStrictly(marked.body, CP_UTF8);
      break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      wide = Utf16Units(marked.body, marked.encoding == TextEncoding::Utf16Be);
      break;
  }
  std::optional<std::string> text = wide ? NarrowToUtf8Strictly(*wide) : std::nullopt;
  if (!text) {
    throw std::runtime_error("cannot read " + PathToUtf8(path) + ": it is not valid " +
                             EncodingName(marked.encoding, "text in the system's code page"));
  }
  return std::move(*text);
}

}  // namespace qor::platform
