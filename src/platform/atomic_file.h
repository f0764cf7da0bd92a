#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qor::platform {

// Writes a temporary file beside the target, flushes it to the disk and moves it over the target
// with write-through, keeping the target's attributes (natively its permission bits), so a failure
// at any step leaves the old file whole. Temporaries of the same target that an interrupted save
// left behind long ago are removed first. Throws std::runtime_error naming the path.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The steps of WriteFileAtomically, in order. After Replace the new file is in place; a failure
// to make its folder entry durable is still reported.
enum class SaveStep { CreateTemporary, Write, Flush, Replace, SyncFolder };

// Test seam: every later save fails at `step` as if the system had refused it; nullopt ends that.
void FailSavesAt(std::optional<SaveStep> step) noexcept;

// The whole file as bytes. Throws std::runtime_error naming the path.
std::string ReadFileBytes(const std::filesystem::path& path);

// The path as UTF-8, for messages.
std::string PathToUtf8(const std::filesystem::path& path);

namespace detail {
// A name beside `path` that no other save uses at the same time.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& path);
// Whether the test seam makes `step` fail.
bool SaveFailsAt(SaveStep step) noexcept;
// Removes the temporaries of `path` older than any save takes; failures are ignored.
void RemoveStaleTemporaries(const std::filesystem::path& path) noexcept;
}  // namespace detail

}  // namespace qor::platform
