#include "platform/module_file_win32.h"

#include <stdexcept>
#include <vector>

#include "platform/wide_text_win32.h"

namespace qor::platform {

std::wstring ModuleFileName(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error("cannot find a module's file: " + WindowsErrorMessage(GetLastError()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

int FileMajorVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
      length < sizeof *fixed)
    return 0;
  return HIWORD(fixed->dwFileVersionMS);
}

}  // namespace qor::platform
