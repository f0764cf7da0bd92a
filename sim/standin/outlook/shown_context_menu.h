#pragma once

// A context menu on Outlook's screen, from the moment Outlook shows it until it closes: the events
// Outlook of the session's version raises around it, what it shows, and what a click on an entry
// does. Outlook 2000 shows the explorer's own bar; 2002 and 2003 refresh the explorer's bars
// (OnUpdate) first; 2007 on hand a fresh popup bar to the display event; 2010 on show instead the
// entries add-ins declare in their customUI documents for the menu's idMso.

#include <oaidl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/ribbon_context_menu.h"
#include "standin/office/shown_menu.h"

namespace qor::standin {

class ApplicationObject;

// Outlook's OlContextMenu values, the code ContextMenuClose reports.
enum class ContextMenu : int { Item = 0, View = 1, Folder = 2, Attachment = 3, Store = 4, Shortcut = 5 };

// What a click on a menu entry did.
struct MenuChoice {
  bool taken = false;                          // false: a disabled entry, which takes no click
  office::ClickResult click;                   // a command-bar button: its Click sinks
  std::optional<office::RibbonAction> action;  // a customUI entry: its onAction call-back
};

class ShownContextMenu {
 public:
  // Raises what Outlook raises before showing the menu. Throws std::logic_error when Outlook
  // 2002 or 2003 has no explorer to show it over.
  ShownContextMenu(ApplicationObject& application, ContextMenu kind, com::ComPtr<IDispatch> context,
                   const std::vector<office::CustomUi>& customUis);

  std::vector<office::MenuEntry> Entries() const;
  // Whether the entry at `path` (captions as Entries gives them) takes a click. Throws
  // std::invalid_argument when no entry is there or it opens a submenu.
  bool Enabled(const std::vector<std::string>& path) const;
  // Clicks the entry at `path`, which is enabled.
  MenuChoice Click(const std::vector<std::string>& path);
  // Outlook 2007 and later: ContextMenuClose(kind) once the menu is gone.
  void RaiseClose();

 private:
  com::ComPtr<ApplicationObject> application_;
  ContextMenu kind_;
  com::ComPtr<IDispatch> context_;
  com::ComPtr<IDispatch> bars_;  // an object of the command bars holding the menu's bar; null: none
  std::string barName_;
  std::optional<office::RibbonContextMenu> ribbon_;
};

// "A > B": a menu path as scripts and messages write it.
std::string JoinedPath(const std::vector<std::string>& path);

}  // namespace qor::standin
