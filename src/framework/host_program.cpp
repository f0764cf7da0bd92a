#include "framework/host_program.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/module_file_win32.h"

namespace qor::framework {

std::optional<int> HostProgramMajorVersion() {
  const std::wstring path = platform::ModuleFileName(nullptr);
  const std::wstring_view name = std::wstring_view(path).substr(path.find_last_of(L"\\/") + 1);
  if (platform::EqualsIgnoringAsciiCase(name, L"dllhost.exe")) return 14;
  // A program with no version, or version 0, names no Outlook.
  const int major = platform::FileMajorVersion(path);
  if (major == 0) return std::nullopt;
  return major;
}

}  // namespace qor::framework
