#pragma once

// Text files the user and other programs read (exclusion list, export, address file): ANSI code
// page on Windows, UTF-8 natively, when written. The engine's text is UTF-8 in both builds.

#include <filesystem>
#include <string>
#include <string_view>

namespace qor::platform {

// A file path from the engine's UTF-8 text.
std::filesystem::path PathFromUtf8(std::string_view text);

// Writes `text` (UTF-8) in the file encoding, atomically. Throws std::runtime_error naming the file.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

// The file's text converted to UTF-8: UTF-8 or UTF-16 (either byte order) when a byte-order mark
// says so, the file encoding otherwise. Throws std::runtime_error naming the file when it cannot
// be read or its bytes are no text in that encoding, so the caller never saves a garbled copy.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace qor::platform
