#pragma once

// Text files the user and other programs read (exclusion list, export, address file). Written on
// Windows in the ANSI code page when it holds every character, else as UTF-8 with a byte-order
// mark; natively as UTF-8. The engine's text is UTF-8 in both builds.

#include <filesystem>
#include <string>
#include <string_view>

namespace qor::platform {

// A file path from the engine's UTF-8 text.
std::filesystem::path PathFromUtf8(std::string_view text);

// Writes `text` (UTF-8) in the file encoding, atomically. Throws std::runtime_error naming the file.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

// The file's text converted to UTF-8: UTF-8 or UTF-16 (either byte order) when a byte-order mark
// says so or, for UTF-16, its NUL bytes do; otherwise UTF-8 natively, and on Windows UTF-8 when the
// bytes are valid UTF-8 beyond ASCII, else the ANSI code page. Throws std::runtime_error naming the
// file when it cannot be read, its bytes are no text in that encoding or it holds a NUL, so the
// caller never shows or saves back a garbled or shortened copy.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace qor::platform
