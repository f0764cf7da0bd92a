#include <windows.h>

#include <shellapi.h>

#include <stdexcept>

#include "platform/services_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {

void ShellExecuteShell::Open(const std::string& file, const std::string& parameters) {
  const std::wstring wideFile = WidenUtf8(file);
  const std::wstring wideParameters = WidenUtf8(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The caller reports a failure itself, rather than the shell in a dialog of its own.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.c_str();
  info.nShow = SW_SHOWNORMAL;  // no working folder: the process's current folder applies
  if (!ShellExecuteExW(&info)) throw std::runtime_error(WindowsErrorMessage(GetLastError()));
}

}  // namespace qor::platform
