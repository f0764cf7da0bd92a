#include "wizard/win32/file_dialogs.h"

#include <commdlg.h>

#include <stdexcept>
#include <string>

#include "platform/wide_text_win32.h"

namespace qor::wizard::win32 {

namespace {

// Room for the longest path the dialogs return.
constexpr DWORD kPathCapacity = 32768;

// "Text File|*.txt" as the dialogs want it: NUL between the parts, two at the end.
std::wstring DialogFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::wstring parts = platform::WidenUtf8(filter);
  for (auto& c : parts) {
    if (c == L'|') c = L'\0';
  }
  return parts + std::wstring(2, L'\0');
}

std::optional<std::string> Run(HWND owner, const FileDialogRequest& request, bool save) {
  std::wstring path(kPathCapacity, L'\0');
  const std::wstring filter = DialogFilter(request.filter);
  const std::wstring title = platform::WidenUtf8(request.title);
  std::wstring extension = platform::WidenUtf8(request.defaultExt);
  if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) {
    if (const DWORD error = CommDlgExtendedError(); error != 0) {
      throw std::runtime_error("The file dialog failed (error " + std::to_string(error) + ").");
    }
    return std::nullopt;
  }
  path.resize(wcslen(path.c_str()));
  return platform::NarrowToUtf8(path);
}

}  // namespace

std::optional<std::string> CommonFileDialogs::Save(const FileDialogRequest& request) {
  return Run(owner_, request, true);
}

std::optional<std::string> CommonFileDialogs::Open(const FileDialogRequest& request) {
  return Run(owner_, request, false);
}

}  // namespace qor::wizard::win32
