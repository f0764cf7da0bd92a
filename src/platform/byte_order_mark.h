#pragma once

// Text files users produce: editors mark UTF-8 and UTF-16 with a byte-order mark.

#include <string_view>

namespace qor::platform {

enum class TextEncoding { Plain, Utf8, Utf16Le, Utf16Be };

struct MarkedText {
  TextEncoding encoding;
  std::string_view body;  // the bytes after the mark
};

// The encoding the file's byte-order mark names; Plain, the whole file, without one.
inline MarkedText SplitByteOrderMark(std::string_view bytes) noexcept {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::Utf8, bytes.substr(3)};
  if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::Utf16Le, bytes.substr(2)};
  if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::Utf16Be, bytes.substr(2)};
  return {TextEncoding::Plain, bytes};
}

// What a message says the file failed to be: "UTF-8 text", "UTF-16 text" or `plainName`.
inline const char* EncodingName(TextEncoding encoding, const char* plainName) noexcept {
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
