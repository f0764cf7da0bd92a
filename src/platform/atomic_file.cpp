#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace qor::platform {
namespace {

std::string ErrnoText() {
  const int code = errno;
  return code == 0 ? std::string("unknown error") : std::generic_category().message(code);
}

// Unique enough that two writers of the same target never share a temporary file.
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

}  // namespace

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path temporary = TemporaryPathFor(path);
  const std::string failure = "cannot write " + PathToUtf8(path) + ": ";
  try {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(failure + "cannot create a temporary file beside it: " + ErrnoText());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw std::runtime_error(failure + ErrnoText());
    out.close();
    if (out.fail()) throw std::runtime_error(failure + ErrnoText());
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) throw std::runtime_error(failure + "cannot replace it: " + error.message());
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

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
