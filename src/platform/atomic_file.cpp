#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <system_error>

#include "platform/diagnostics.h"

namespace qor::platform {
namespace {

std::string ErrnoText() {
  const int code = errno;
  return code == 0 ? std::string("unknown error") : std::generic_category().message(code);
}

std::optional<SaveStep> failingStep;

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTagDigits = 16;
// No save takes this long: a temporary this old was left by a save that never finished.
constexpr auto kStaleAfter = std::chrono::minutes(10);

// `name` is `target` with a temporary's mark and tag.
bool IsTemporaryOf(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTemporaryMark.size() + kTagDigits || !name.starts_with(target)) return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kTemporaryMark)) return false;
  name.remove_prefix(kTemporaryMark.size());
  return std::all_of(name.begin(), name.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

namespace detail {

std::filesystem::path TemporaryPathFor(const std::filesystem::path& path) {
  static std::atomic<std::uint64_t> counter{0};
  static const std::uint64_t seed = [] {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  }();
  const std::uint64_t tag = seed + counter.fetch_add(1);
  constexpr char kHex[] = "0123456789abcdef";
  std::string suffix(kTemporaryMark);
  for (int shift = 4 * (kTagDigits - 1); shift >= 0; shift -= 4) suffix += kHex[(tag >> shift) & 0xF];
  std::filesystem::path temporary = path;
  temporary += suffix;
  return temporary;
}

bool SaveFailsAt(SaveStep step) noexcept { return failingStep == step; }

void RemoveStaleTemporaries(const std::filesystem::path& path) noexcept {
  try {
    const std::string target = PathToUtf8(path.filename());
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
      if (!IsTemporaryOf(PathToUtf8(entry->path().filename()), target)) continue;
      std::error_code ignored;
      const auto written = entry->last_write_time(ignored);
      if (!ignored && now - written > kStaleAfter) std::filesystem::remove(entry->path(), ignored);
    }
  } catch (...) {
    // Tidying up is no reason to fail the save.
    diagnostics::Record(diagnostics::Kind::Ignored, "RemoveStaleTemporaries: old temporaries left in place");
  }
}

}  // namespace detail

void FailSavesAt(std::optional<SaveStep> step) noexcept { failingStep = step; }

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw std::runtime_error("cannot read " + PathToUtf8(path) + ": it is a folder");
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + PathToUtf8(path) + ": " + ErrnoText());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + PathToUtf8(path) + ": " + ErrnoText());
  return bytes;
}

}  // namespace qor::platform
