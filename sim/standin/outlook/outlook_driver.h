#pragma once

// Plays the user and Outlook itself around the stand-in Application: opens, activates and closes
// windows, switches folders, opens context menus and clicks their entries, quits, each with
// Outlook's events in Outlook's order. For tests and the stand-in host application.

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "host/memory/memory_outlook.h"
#include "standin/outlook/shown_context_menu.h"

namespace qor::standin {

class ApplicationObject;
class ExplorerObject;

// The version text of a released build of that major version ("11.0.0.8312"); "N.0.0.0" for others.
std::string OutlookVersionText(int majorVersion);

class OutlookDriver {
 public:
  // `majorVersion` 0 reports the in-memory Outlook's version text; 9 to 16 report that version's
  // text ("11.0.0.8312", ...). When the in-memory Outlook shows an explorer folder, the first
  // explorer is open from the start, as Outlook's is before any add-in loads.
  explicit OutlookDriver(std::shared_ptr<host::memory::MemoryOutlook> outlook, int majorVersion = 0);
  ~OutlookDriver();
  OutlookDriver(const OutlookDriver&) = delete;
  OutlookDriver& operator=(const OutlookDriver&) = delete;

  com::ComPtr<IDispatch> Application() const;
  int MajorVersion() const noexcept;
  const std::string& VersionText() const noexcept;

  // Null when no such window is open.
  com::ComPtr<IDispatch> ActiveExplorer() const;
  com::ComPtr<IDispatch> ActiveInspector() const;

  // NewExplorer(explorer), Deactivate on the window in front, Activate on the new explorer. Without
  // a folder it shows the active explorer's folder, else the in-memory Outlook's explorer folder,
  // else the first store.
  com::ComPtr<IDispatch> OpenExplorer(std::shared_ptr<host::memory::MemoryFolder> folder = nullptr);
  // NewInspector(inspector), Deactivate on the window in front, Activate on the new inspector.
  com::ComPtr<IDispatch> OpenInspector(std::shared_ptr<host::Item> item);
  // Deactivate on the window in front, Activate on this one; nothing when it is in front already.
  void Activate(IDispatch& window);
  // Close on the window, then Activate on the window that comes to the front.
  void Close(IDispatch& window);
  // BeforeFolderSwitch(folder, Cancel), then FolderSwitch unless a sink cancelled. False when cancelled.
  bool SwitchFolder(IDispatch& explorer, std::shared_ptr<host::memory::MemoryFolder> folder);
  // BeforeViewSwitch(view, Cancel), then ViewSwitch unless a sink cancelled.
  bool SwitchView(IDispatch& explorer, const std::string& view);
  void ChangeSelection(IDispatch& explorer);

  // Closes an open context menu, every inspector, then every explorer, then raises Quit.
  void Quit();
  // The application's OptionsPagesAdd(pages); gives the PropertyPages the sinks filled.
  com::ComPtr<IDispatch> ShowOptions();
  // The session's OptionsPagesAdd(pages, folder), for a folder's property sheet.
  com::ComPtr<IDispatch> ShowFolderProperties(std::shared_ptr<host::memory::MemoryFolder> folder);

  // The user right-clicks `folder` in the folder list: OpenContextMenu(ContextMenu::Folder, folder).
  void RightClickFolder(std::shared_ptr<host::memory::MemoryFolder> folder);
  // Shows a context menu of `kind` on `context` (the folder, Selection, View, ...) with the events
  // of this version (see ShownContextMenu), after closing a menu still open. It stays open until
  // an entry is chosen, it is closed, or Outlook quits.
  void OpenContextMenu(ContextMenu kind, com::ComPtr<IDispatch> context);
  bool ContextMenuOpen() const noexcept { return static_cast<bool>(menu_); }
  // What the open menu shows. Throws std::logic_error when no menu is open.
  std::vector<office::MenuEntry> ContextMenuEntries() const;
  // Clicks the entry at `path`, then the menu closes: Outlook 2007 and later raise
  // ContextMenuClose once the click's handlers have returned. A disabled entry takes no click and
  // the menu stays open. Throws std::logic_error when no menu is open, std::invalid_argument when
  // no entry is at `path` or it opens a submenu.
  MenuChoice ChooseContextMenuEntry(const std::vector<std::string>& path);
  // The user dismisses the open menu; nothing when none is open.
  void CloseContextMenu();

  // An add-in's customUI document for the explorer's ribbon, whose context-menu extensions Outlook
  // 2010 and later show; it replaces the owner's earlier one. Menus open already keep theirs.
  void SetExplorerCustomUi(office::CustomUi customUi);
  void RemoveExplorerCustomUi(const std::string& owner);

 private:
  ExplorerObject& ExplorerOf(IDispatch& window) const;

  com::ComPtr<ApplicationObject> application_;
  std::vector<office::CustomUi> customUis_;  // in load order
  std::unique_ptr<ShownContextMenu> menu_;
};

}  // namespace qor::standin
