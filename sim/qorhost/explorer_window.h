#pragma once

// Outlook's explorer as the user sees it: the folder tree of every store, the items of the folder
// shown, and a menu bar. The window shows and reports; what the user's actions mean (a folder
// switch, a context menu, an inspector, Outlook closing) is its owner's, through Handlers.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "folder_tree.h"
#include "host/memory/memory_outlook.h"
#include "platform/unique_any_win32.h"
#include "window_failures.h"

namespace qor::tools::qorhost {

using host::memory::MemoryFolder;

class ExplorerWindow {
 public:
  struct Handlers {
    // The user selects a folder; false when Outlook cancelled the switch.
    std::function<bool(const std::shared_ptr<MemoryFolder>&)> folderSelected;
    // The user right-clicks a folder at `screen`.
    std::function<void(const std::shared_ptr<MemoryFolder>&, POINT screen)> folderMenu;
    // The user double-clicks an item.
    std::function<void(const std::string& entryId)> itemOpened;
    // Tools > COM Add-Ins...
    std::function<void()> addinsDialog;
    // The user closes the window (or File > Exit).
    std::function<void()> closing;
  };

  // The window, hidden, on `folder` of the mailbox.
  // What the window or a handler throws while handling a message goes to `failures`.
  ExplorerWindow(host::memory::MemoryOutlook& mailbox, std::shared_ptr<MemoryFolder> folder, Handlers handlers,
                 WindowFailures& failures);
  ~ExplorerWindow();
  ExplorerWindow(const ExplorerWindow&) = delete;
  ExplorerWindow& operator=(const ExplorerWindow&) = delete;

  // The menu bar's Tools > COM Add-Ins... command.
  static constexpr UINT kAddinsCommand = 2;

  HWND Handle() const noexcept { return window_.Get(); }
  void Show();
  // Shows `folder` selected, with its items, without telling the handlers.
  void ShowFolder(const std::shared_ptr<MemoryFolder>& folder);
  // Reads the shown folder's items again (an add-in may have moved some).
  void RefreshItems();

  // A user's clicks, as mouse messages to the tree: false when the folder is not in it or the
  // window is disabled (a dialog is open over it). Rethrows what handling them failed with.
  bool ClickFolder(const MemoryFolder& folder);
  bool RightClickFolder(const MemoryFolder& folder);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnNotify(const NMHDR& header);
  void Layout();
  void UpdateCaption();
  // The tree item's centre, in the tree's client coordinates; false when the folder is not shown.
  bool CentreOf(const MemoryFolder& folder, POINT& point);
  bool SendClick(const MemoryFolder& folder, UINT down, UINT up, WPARAM buttons);

  Handlers handlers_;
  std::shared_ptr<MemoryFolder> folder_;
  std::optional<FolderTree> folders_;                             // made with the tree
  std::vector<std::shared_ptr<host::memory::MemoryItem>> items_;  // the list's rows
  WindowFailures& failures_;
  bool quiet_ = false;  // selection changes made by the window itself
  int dpi_;
  platform::UniqueHfont font_;
  platform::UniqueHwnd window_;
  HWND tree_ = nullptr;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
};

}  // namespace qor::tools::qorhost
