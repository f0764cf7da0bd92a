#include <windows.h>

#include <shellapi.h>

#include "platform/services_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {

void ShellExecuteShell::Open(const std::string& file, const std::string& parameters) {
  const std::wstring wideFile = WidenUtf8(file);
  const std::wstring wideParameters = WidenUtf8(parameters);
  // No working folder: the process's current folder applies.
  ShellExecuteW(nullptr, L"open", wideFile.c_str(), wideParameters.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace qor::platform
