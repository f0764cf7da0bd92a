#pragma once

// The context menu Outlook pops up over its folder tree, as a real Win32 popup menu: the entries a
// shown menu holds, popups as submenus, disabled entries greyed.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/unique_any_win32.h"
#include "standin/office/shown_menu.h"

namespace qor::tools::qorhost {

using UniqueHmenu = platform::UniqueAny<HMENU, &DestroyMenu>;

class FolderMenu {
 public:
  explicit FolderMenu(std::vector<standin::office::MenuEntry> entries);

  // Shows the menu at `screen` and runs its loop until the user chooses an entry or dismisses it;
  // the chosen entry's path, or nothing.
  std::optional<std::vector<std::string>> Track(HWND owner, POINT screen) const;

  // The keys a user presses to choose the entry at `path` in the open menu, from nothing selected
  // to Enter. Throws std::invalid_argument when no entry is there or it opens a submenu.
  std::vector<WORD> KeysFor(const std::vector<std::string>& path) const;
  // Whether the entry at `path` (which KeysFor accepts) takes a click.
  bool Enabled(const std::vector<std::string>& path) const;

 private:
  const standin::office::MenuEntry& EntryAt(const std::vector<std::string>& path) const;

  std::vector<standin::office::MenuEntry> entries_;
  UniqueHmenu menu_;
};

}  // namespace qor::tools::qorhost
