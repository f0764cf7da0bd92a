#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <system_error>

namespace qor::platform {
namespace {

std::string ErrnoText() {
  const int code = errno;
  return code == 0 ? std::string("unknown error") : std::generic_category().message(code);
}

std::optional<SaveStep> failingStep;

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
  std::string suffix = ".tmp-";
  for (int shift = 60; shift >= 0; shift -= 4) suffix += kHex[(tag >> shift) & 0xF];
  std::filesystem::path temporary = path;
  temporary += suffix;
  return temporary;
}

bool SaveFailsAt(SaveStep step) noexcept { return failingStep == step; }

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
