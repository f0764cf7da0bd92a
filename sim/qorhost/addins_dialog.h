#pragma once

// Outlook's COM Add-Ins dialog: every add-in registered for Outlook with a check box, ticked when
// it is loaded. OK hands the add-ins whose box changed to `apply`; the dialog is modeless and keeps
// its owner disabled while it is open.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "qorhost_resources.h"
#include "window_failures.h"

namespace qor::tools::qorhost {

struct ListedAddin {
  std::string progId;
  std::string name;  // what the list shows: the friendly name, else the ProgID
  bool connected = false;
};

class AddinsDialog {
 public:
  using Apply = std::function<void(const std::vector<ListedAddin>& changed)>;

  AddinsDialog(HWND owner, std::vector<ListedAddin> addins, Apply apply, WindowFailures& failures);
  ~AddinsDialog();
  AddinsDialog(const AddinsDialog&) = delete;
  AddinsDialog& operator=(const AddinsDialog&) = delete;

  bool Open() const noexcept { return dialog_ != nullptr; }
  HWND Handle() const noexcept { return dialog_; }
  // The user ticks or clears the add-in's box; false when the list has no such add-in.
  bool Tick(const std::string& progId, bool ticked);
  // The user presses OK (IDOK) or Cancel (IDCANCEL). What applying the changes throws goes to the
  // failures.
  void Press(int button);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Fill();
  void Close(bool apply);
  HWND List() const { return GetDlgItem(dialog_, kListId); }

  static constexpr int kListId = IDC_ADDINS_LIST;

  HWND owner_;
  std::vector<ListedAddin> addins_;
  Apply apply_;
  WindowFailures& failures_;
  HWND dialog_ = nullptr;
};

}  // namespace qor::tools::qorhost
