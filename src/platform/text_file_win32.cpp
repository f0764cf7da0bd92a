#include <windows.h>

#include "platform/atomic_file.h"
#include "platform/text_file.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(WidenUtf8(text)); }

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  WriteFileAtomically(path, Narrow(WidenUtf8(text), CP_ACP));
}

std::string ReadTextFile(const std::filesystem::path& path) { return NarrowToUtf8(Widen(ReadFileBytes(path), CP_ACP)); }

}  // namespace qor::platform
