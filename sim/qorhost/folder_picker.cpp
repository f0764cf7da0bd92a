#include "folder_picker.h"

#include <optional>

#include "folder_tree.h"
#include "qorhost_resources.h"

namespace qor::tools::qorhost {
namespace {

struct Picking {
  const host::memory::MemoryOutlook& mailbox;
  std::optional<FolderTree> tree;
  std::shared_ptr<host::memory::MemoryFolder> chosen;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& picking = *reinterpret_cast<Picking*>(lParam);
    try {
      picking.tree.emplace(GetDlgItem(dialog, IDC_FOLDER_TREE), picking.mailbox.Stores());
    } catch (...) {
      EndDialog(dialog, IDCANCEL);
    }
    return TRUE;
  }
  if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)) return FALSE;
  auto& picking = *reinterpret_cast<Picking*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (LOWORD(wParam) == IDOK && picking.tree) {
    picking.chosen = picking.tree->Selected();
    if (!picking.chosen) return TRUE;  // nothing selected yet: OK waits for a folder
  }
  EndDialog(dialog, LOWORD(wParam));
  return TRUE;
}

}  // namespace

std::shared_ptr<host::memory::MemoryFolder> PickFolderDialog(HWND owner, const host::memory::MemoryOutlook& mailbox) {
  Picking picking{mailbox, std::nullopt, nullptr};
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SELECT_FOLDER), owner,
                                         &DialogProc, reinterpret_cast<LPARAM>(&picking));
  return result == IDOK ? picking.chosen : nullptr;
}

}  // namespace qor::tools::qorhost
