#pragma once

// The built-in bars Outlook's windows carry, with a few of their built-in entries.

#include "standin/office/command_bar_nodes.h"

#include <memory>
#include <string>
#include <vector>

namespace qor::standin::office {

// "Menu Bar" and "Standard"; for versions 10 and 11 also "Folder Context Menu" and "Context Menu".
std::vector<std::shared_ptr<BarNode>> OutlookBars(int majorVersion);
// A context menu as Outlook 2007 and later hand it to their display events.
std::shared_ptr<BarNode> ContextMenu(std::string name);

}  // namespace qor::standin::office
