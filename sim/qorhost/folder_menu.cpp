#include "folder_menu.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "com/com_error.h"
#include "com/utf.h"
#include "standin/outlook/shown_context_menu.h"

namespace qor::tools::qorhost {
namespace {

using standin::office::MenuEntry;

// A caption as a Win32 menu takes it: "&" would mark an accelerator.
std::wstring MenuText(const std::string& caption) {
  std::wstring text;
  for (const wchar_t c : com::ToUtf16(caption)) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

bool Under(const MenuEntry& entry, const std::vector<std::string>& parent) {
  return entry.path.size() == parent.size() + 1 && std::equal(parent.begin(), parent.end(), entry.path.begin());
}

HMENU NewPopup() {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the folder menu");
  return menu;
}

}  // namespace

FolderMenu::FolderMenu(std::vector<MenuEntry> entries) : entries_(std::move(entries)), menu_(NewPopup()) {
  std::map<std::vector<std::string>, HMENU> menus{{{}, menu_.Get()}};
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const MenuEntry& entry = entries_[i];
    if (entry.path.empty()) continue;
    const auto parent = menus.find({entry.path.begin(), entry.path.end() - 1});
    if (parent == menus.end()) continue;  // under a popup the menu does not show
    const UINT state = entry.enabled ? MF_ENABLED : MF_GRAYED;
    const std::wstring text = MenuText(entry.path.back());
    if (entry.submenu) {
      UniqueHmenu submenu(NewPopup());
      if (AppendMenuW(parent->second, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu.Get()), text.c_str()))
        menus[entry.path] = submenu.Release();
    } else {
      AppendMenuW(parent->second, MF_STRING | state, i + 1, text.c_str());
    }
  }
}

std::optional<std::vector<std::string>> FolderMenu::Track(HWND owner, POINT screen) const {
  // Outlook's own window comes to the front, or the menu would not close on a click elsewhere.
  SetForegroundWindow(owner);
  const auto chosen = static_cast<std::size_t>(TrackPopupMenuEx(
      menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x, screen.y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > entries_.size()) return std::nullopt;
  return entries_[chosen - 1].path;
}

const MenuEntry& FolderMenu::EntryAt(const std::vector<std::string>& path) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&](const MenuEntry& entry) { return entry.path == path; });
  if (found == entries_.end())
    throw std::invalid_argument("the menu has no entry \"" + standin::JoinedPath(path) + "\"");
  if (found->submenu) throw std::invalid_argument("\"" + standin::JoinedPath(path) + "\" opens a submenu");
  return *found;
}

bool FolderMenu::Enabled(const std::vector<std::string>& path) const { return EntryAt(path).enabled; }

std::vector<WORD> FolderMenu::KeysFor(const std::vector<std::string>& path) const {
  EntryAt(path);
  std::vector<WORD> keys;
  std::vector<std::string> parent;
  for (const std::string& caption : path) {
    // Down selects the first entry of the top level; Right opens a submenu on its first entry.
    int downs = parent.empty() ? 1 : 0;
    for (const MenuEntry& entry : entries_) {
      if (!Under(entry, parent)) continue;
      if (entry.path.back() == caption) break;
      ++downs;
    }
    if (!parent.empty()) keys.push_back(VK_RIGHT);
    keys.insert(keys.end(), downs, VK_DOWN);
    parent.push_back(caption);
  }
  keys.push_back(VK_RETURN);
  return keys;
}

}  // namespace qor::tools::qorhost
