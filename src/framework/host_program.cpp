#include "framework/host_program.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace qor::framework {

std::optional<int> HostProgramMajorVersion() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) >= path.size())
    path.resize(path.size() * 2);
  if (length == 0) return std::nullopt;
  path.resize(length);
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  if (name == L"dllhost.exe") return 14;

  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || info == nullptr ||
      infoSize < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  const int major = HIWORD(info->dwFileVersionMS);
  if (major == 0) return std::nullopt;  // a program with no version of its own
  return major;
}

}  // namespace qor::framework
