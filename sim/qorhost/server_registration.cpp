#include "server_registration.h"

#include <windows.h>

#include <string>

#include "com/com_error.h"
#include "com/utf.h"
#include "outlook_image.h"
#include "platform/unique_any_win32.h"

namespace qor::tools::qorhost {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";
constexpr wchar_t kProgId[] = L"Outlook.Application";
constexpr wchar_t kClsid[] = L"{0006F03A-0000-0000-C000-000000000046}";

void SetDefault(const std::wstring& path, const std::wstring& value) {
  platform::UniqueHkey key;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kClasses + path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   key.Put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  if (status != ERROR_SUCCESS)
    throw com::ComError(HRESULT_FROM_WIN32(status), "cannot write HKCR\\" + com::ToUtf8(path));
}

void DeleteTree(const std::wstring& path) {
  const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + path).c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) throw com::ComError(HRESULT_FROM_WIN32(status));
}

}  // namespace

void RegisterOutlookServer() {
  const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsid;
  SetDefault(kProgId, L"Microsoft Outlook");
  SetDefault(std::wstring(kProgId) + L"\\CLSID", kClsid);
  SetDefault(clsidKey, L"Microsoft Outlook");
  SetDefault(clsidKey + L"\\LocalServer32", ProgramPath().wstring());
  SetDefault(clsidKey + L"\\ProgID", kProgId);
}

void UnregisterOutlookServer() {
  DeleteTree(kProgId);
  DeleteTree(std::wstring(L"CLSID\\") + kClsid);
}

}  // namespace qor::tools::qorhost
