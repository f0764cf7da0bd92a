#include "file_dialog_watch.h"

#include <dlgs.h>

#include <vector>

#include "com/utf.h"

namespace qor::tools::qorhost {
namespace {

constexpr UINT kTimerMs = 50;

// The file name box of a shown common file dialog of this thread: the combo box of the Explorer
// style, or the older edit box. Null when none is shown.
HWND ShownFileNameBox() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        if (!IsWindowVisible(window)) return TRUE;
        wchar_t name[8] = {};
        GetClassNameW(window, name, 8);
        if (lstrcmpW(name, L"#32770") != 0) return TRUE;
        HWND box = GetDlgItem(window, cmb13);
        if (box == nullptr) box = GetDlgItem(window, edt1);
        if (box == nullptr) return TRUE;
        *reinterpret_cast<HWND*>(state) = box;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

FileDialogWatch::FileDialogWatch() : timer_(kTimerMs, [this] { Look(); }) {}

void FileDialogWatch::QueueAnswer(const std::string& file) {
  const std::wstring name = com::ToUtf16(file);
  std::vector<wchar_t> full(MAX_PATH * 4);
  const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  answers_.push_back(length > 0 && length < full.size() ? std::wstring(full.data(), length) : name);
}

void FileDialogWatch::Look() noexcept {
  const HWND box = ShownFileNameBox();
  if (box == nullptr || box == answered_) return;
  answered_ = box;
  const HWND dialog = GetParent(box);
  if (answers_.empty()) {
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    return;
  }
  SetWindowTextW(box, answers_.front().c_str());
  answers_.pop_front();
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

}  // namespace qor::tools::qorhost
