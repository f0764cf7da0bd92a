#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qor::platform {

// Writes a temporary file beside the target and renames it over the target, so a failure never
// leaves a half-written file. Throws std::runtime_error naming the path.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The whole file as bytes. Throws std::runtime_error naming the path.
std::string ReadFileBytes(const std::filesystem::path& path);

// The path as UTF-8, for messages.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace qor::platform
