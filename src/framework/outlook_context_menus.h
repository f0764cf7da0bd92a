#pragma once

// The Outlook context menus the framework knows: the name a module declares, the command bar
// Outlook 2002 and 2003 show it as, the application event Outlook 2007 and later raise before
// showing it, the code their ContextMenuClose reports, and the idMso of the ribbon context menu
// Outlook 2010 and later build it from.

#include <oaidl.h>

#include <array>
#include <string_view>

#include "host/automation/outlook_ids.h"

namespace qor::framework {

struct OutlookContextMenu {
  std::wstring_view commandBarName;
  std::wstring_view hostBarName;  // empty: Outlook 2002 and 2003 have no such bar
  DISPID displayEvent;
  int closeCode;  // OlContextMenu
  std::wstring_view ribbonIdMso;
};

namespace outlook_dispid = host::outlook_ids::dispid;

inline constexpr std::array<OutlookContextMenu, 6> kOutlookContextMenus = {{
    {L"ItemContextMenu", L"Context Menu", outlook_dispid::kItemContextMenuDisplay, 0, L"ContextMenuMailItem"},
    {L"ViewContextMenu", L"", outlook_dispid::kViewContextMenuDisplay, 1, L"ContextMenuTableView"},
    {L"FolderContextMenu", L"Folder Context Menu", outlook_dispid::kFolderContextMenuDisplay, 2, L"ContextMenuFolder"},
    {L"AttachmentContextMenu", L"", outlook_dispid::kAttachmentContextMenuDisplay, 3, L"ContextMenuAttachments"},
    {L"StoreContextMenu", L"", outlook_dispid::kStoreContextMenuDisplay, 4, L"ContextMenuStore"},
    {L"ShortcutContextMenu", L"", outlook_dispid::kShortcutContextMenuDisplay, 5, L"ContextMenuShortcut"},
}};

// Null for a DISPID or code of no context menu.
inline const OutlookContextMenu* ContextMenuByDisplayEvent(DISPID id) noexcept {
  for (const auto& menu : kOutlookContextMenus)
    if (menu.displayEvent == id) return &menu;
  return nullptr;
}
inline const OutlookContextMenu* ContextMenuByCloseCode(int code) noexcept {
  for (const auto& menu : kOutlookContextMenus)
    if (menu.closeCode == code) return &menu;
  return nullptr;
}
inline const OutlookContextMenu* ContextMenuByName(std::wstring_view commandBarName) noexcept {
  for (const auto& menu : kOutlookContextMenus)
    if (menu.commandBarName == commandBarName) return &menu;
  return nullptr;
}

}  // namespace qor::framework
