#include "addins_dialog.h"

#include <commctrl.h>

#include <utility>

#include "com/com_error.h"
#include "com/utf.h"
#include "platform/ascii_case.h"

namespace qor::tools::qorhost {

AddinsDialog::AddinsDialog(HWND owner, std::vector<ListedAddin> addins, Apply apply, WindowFailures& failures)
    : owner_(owner), addins_(std::move(addins)), apply_(std::move(apply)), failures_(failures) {
  dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_COM_ADDINS), owner, &DialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (dialog_ == nullptr) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot show the COM Add-Ins dialog");
  EnableWindow(owner_, FALSE);
  ShowWindow(dialog_, SW_SHOW);
}

AddinsDialog::~AddinsDialog() {
  if (dialog_ != nullptr) Close(false);
}

void AddinsDialog::Fill() {
  const HWND list = List();
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  RECT client{};
  GetClientRect(list, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (std::size_t row = 0; row < addins_.size(); ++row) {
    const std::wstring name = com::ToUtf16(addins_[row].name);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ListView_SetCheckState(list, static_cast<int>(row), addins_[row].connected ? TRUE : FALSE);
  }
}

bool AddinsDialog::Tick(const std::string& progId, bool ticked) {
  for (std::size_t row = 0; row < addins_.size() && dialog_ != nullptr; ++row) {
    if (!platform::EqualsIgnoringAsciiCase(addins_[row].progId, progId)) continue;
    ListView_SetCheckState(List(), static_cast<int>(row), ticked ? TRUE : FALSE);
    return true;
  }
  return false;
}

void AddinsDialog::Press(int button) {
  if (dialog_ != nullptr) SendMessageW(GetDlgItem(dialog_, button), BM_CLICK, 0, 0);
}

void AddinsDialog::Close(bool apply) {
  std::vector<ListedAddin> changed;
  for (std::size_t row = 0; row < addins_.size() && apply; ++row) {
    const bool ticked = ListView_GetCheckState(List(), static_cast<int>(row)) != FALSE;
    if (ticked != addins_[row].connected) changed.push_back({addins_[row].progId, addins_[row].name, ticked});
  }
  EnableWindow(owner_, TRUE);
  DestroyWindow(std::exchange(dialog_, nullptr));
  SetActiveWindow(owner_);
  if (!changed.empty()) apply_(changed);
}

INT_PTR CALLBACK AddinsDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<AddinsDialog*>(lParam);
    self->dialog_ = dialog;
    self->Fill();
    return TRUE;
  }
  auto* self = reinterpret_cast<AddinsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
  try {
    self->Close(LOWORD(wParam) == IDOK);
  } catch (...) {
    // The dialog is gone either way; whoever pressed the button learns what failed.
    self->failures_.Catch();
  }
  return TRUE;
}

}  // namespace qor::tools::qorhost
