#pragma once

// The built-in bars Outlook's windows carry, with a few of their built-in entries.

#include "standin/office/command_bar_nodes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qor::standin::office {

inline constexpr std::string_view kFolderMenuBar = "Folder Context Menu";

// "Menu Bar" and "Standard"; for versions 9 to 11 also "Folder Context Menu", for 10 and 11
// "Context Menu".
std::vector<std::shared_ptr<BarNode>> OutlookBars(int majorVersion);
// A context menu as Outlook 2007 and later hand it to their display events: the folder menu's
// entries for "Folder Context Menu", an item menu's for any other name.
std::shared_ptr<BarNode> ContextMenu(std::string name);

}  // namespace qor::standin::office
