#include "platform/atomic_file.h"
#include "platform/text_file.h"

namespace qor::platform {

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text) { WriteFileAtomically(path, text); }

std::string ReadTextFile(const std::filesystem::path& path) { return ReadFileBytes(path); }

}  // namespace qor::platform
