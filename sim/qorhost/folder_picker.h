#pragma once

// Outlook's "Select Folder" dialog, as NameSpace.PickFolder shows it: the folder tree, OK and
// Cancel. Modal over `owner`.

#include <windows.h>

#include <memory>

#include "host/memory/memory_outlook.h"

namespace qor::tools::qorhost {

// The folder the user chose, or null when the user cancelled.
std::shared_ptr<host::memory::MemoryFolder> PickFolderDialog(HWND owner, const host::memory::MemoryOutlook& mailbox);

}  // namespace qor::tools::qorhost
