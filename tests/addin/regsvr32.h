#pragma once

// regsvr32 on the built library, as a setup program runs it.

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::addin::testing {

// regsvr32's exit code; `arguments` follow its "/s".
inline DWORD Regsvr32(const std::wstring& arguments) {
  std::wstring command = L"regsvr32.exe /s " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return GetLastError();
  const platform::UniqueAny<HANDLE, &CloseHandle> process(started.hProcess);
  const platform::UniqueAny<HANDLE, &CloseHandle> thread(started.hThread);
  WaitForSingleObject(process.Get(), 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

// The built library (QOR_ADDIN_DLL) as Windows names it.
inline std::wstring BuiltLibrary() {
  std::wstring path = platform::WidenUtf8(QOR_ADDIN_DLL);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

}  // namespace qor::addin::testing
