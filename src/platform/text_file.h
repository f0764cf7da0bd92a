#pragma once

// Text files the user and other programs read (exclusion list, export, address file): ANSI code
// page on Windows, UTF-8 natively. The engine's text is UTF-8 in both builds.

#include <filesystem>
#include <string>
#include <string_view>

namespace qor::platform {

// A file path from the engine's UTF-8 text.
std::filesystem::path PathFromUtf8(std::string_view text);

// Writes `text` (UTF-8) in the file encoding, atomically. Throws std::runtime_error naming the file.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

// The file's text converted to UTF-8. Throws std::runtime_error naming the file.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace qor::platform
