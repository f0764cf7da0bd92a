// The small Windows services: the shell's folders, message boxes and the user's date format.

#include <windows.h>

#include <shlobj.h>

#include <stdexcept>

#include "platform/services_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {

namespace {

// The shell's folder `csidl`, not created when missing; empty when the shell has none.
std::wstring ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  buffer[MAX_PATH] = L'\0';
  return buffer;
}

}  // namespace

std::string ShellSpecialFolders::CommonDocuments() { return NarrowToUtf8(ShellFolder(CSIDL_COMMON_DOCUMENTS)); }

std::filesystem::path LocalAppDataFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA); }

void WindowsMessageBoxes::Show(const std::string& text) {
  MessageBoxW(GetActiveWindow(), WidenUtf8(text).c_str(), L"QOR for Outlook", MB_OK);
}

void WindowsMessageBoxes::ShowError(const std::string& text) {
  MessageBoxW(GetActiveWindow(), WidenUtf8(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

std::string UserLocaleClock::ShortDate() {
  const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, nullptr, 0, nullptr);
  if (length > 0) {
    std::wstring date(static_cast<std::size_t>(length), L'\0');
    const int written =
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date.data(), length, nullptr);
    if (written > 0) {
      date.resize(static_cast<std::size_t>(written - 1));
      return NarrowToUtf8(date);
    }
  }
  throw std::runtime_error("cannot format today's date: " + WindowsErrorMessage(GetLastError()));
}

}  // namespace qor::platform
