#pragma once

// What Outlook's process has loaded before it loads any add-in: the common controls (initialised),
// the shell and the common dialogs. Loading them here makes an add-in's measured start its own.

#include <windows.h>

#include <vector>

#include "platform/unique_any_win32.h"

namespace qor::tools::qorhost {

class OutlookProcessLibraries {
 public:
  OutlookProcessLibraries();

 private:
  std::vector<platform::UniqueAny<HMODULE, &FreeLibrary>> libraries_;
};

}  // namespace qor::tools::qorhost
