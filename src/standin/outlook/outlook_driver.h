#pragma once

// Plays the user and Outlook itself around the stand-in Application: opens, activates and closes
// windows, switches folders, right-clicks, quits, each with Outlook's events in Outlook's order.
// For tests and the stand-in host application.

#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

#include "com/com_ptr.h"
#include "host/memory/memory_outlook.h"

namespace qor::standin {

class ApplicationObject;
class ExplorerObject;

// Outlook's OlContextMenu values, the code ContextMenuClose reports.
enum class ContextMenu : int { Item = 0, View = 1, Folder = 2, Attachment = 3, Store = 4, Shortcut = 5 };

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

  // Closes every inspector, then every explorer, then raises Quit.
  void Quit();
  // The application's OptionsPagesAdd(pages); gives the PropertyPages the sinks filled.
  com::ComPtr<IDispatch> ShowOptions();
  // The session's OptionsPagesAdd(pages, folder), for a folder's property sheet.
  com::ComPtr<IDispatch> ShowFolderProperties(std::shared_ptr<host::memory::MemoryFolder> folder);

  // Called with the menu bar while the menu is shown; null when Outlook offers add-ins no menu.
  using MenuVisitor = std::function<void(IDispatch* menu)>;
  // Outlook 2007 and later: FolderContextMenuDisplay(bar, folder), the visitor, ContextMenuClose(2).
  // Outlook 2002 and 2003: OnUpdate on the active explorer's CommandBars, then the visitor with that
  // collection's "Folder Context Menu" bar. Outlook 2000: the visitor with null.
  void RightClickFolder(std::shared_ptr<host::memory::MemoryFolder> folder, const MenuVisitor& whileShown);
  // Outlook 2007 and later: the display event of `kind` with a new bar named `barName` and
  // `context` (Selection, View, Folder, ...), the visitor, then ContextMenuClose(kind).
  void ShowContextMenu(ContextMenu kind, const std::string& barName, IDispatch* context, const MenuVisitor& whileShown);

 private:
  ExplorerObject& ExplorerOf(IDispatch& window) const;

  com::ComPtr<ApplicationObject> application_;
};

}  // namespace qor::standin
