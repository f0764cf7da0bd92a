#pragma once

// How the text files users and other programs produce are encoded: editors mark UTF-8 and UTF-16
// with a byte-order mark, but Notepad's "Unicode" and PowerShell's redirected output can come
// without one.

#include <string_view>

namespace qor::platform {

enum class TextEncoding { Plain, Utf8, Utf16Le, Utf16Be };

struct MarkedText {
  TextEncoding encoding;
  std::string_view body;  // the bytes after the mark
};

// The encoding a byte-order mark names. Without one, UTF-16 when NUL bytes stand where UTF-16
// puts the high bytes of ASCII characters and the text reads as such (see the .cpp); otherwise
// Plain, with every byte of the file.
MarkedText DetectTextEncoding(std::string_view bytes) noexcept;

// Whether `bytes` is valid UTF-8 that holds at least one character beyond ASCII, which text in a
// single-byte code page almost never is.
bool IsUtf8BeyondAscii(std::string_view bytes) noexcept;

// What a message says the file failed to be: "UTF-8 text", "UTF-16 text" or `plainName`.
const char* EncodingName(TextEncoding encoding, const char* plainName) noexcept;

}  // namespace qor::platform
