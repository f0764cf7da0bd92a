#include "framework/host_program.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/module_file_win32.h"

namespace qor::framework {

std::optional<int> HostProgramMajorVersion() {
  const std::wstring path = platform::ModuleFileName(nullptr);
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  if (name == L"dllhost.exe") return 14;
  // A program with no version, or version 0, names no Outlook.
  const int major = platform::FileMajorVersion(path);
  if (major == 0) return std::nullopt;
  return major;
}

}  // namespace qor::framework
