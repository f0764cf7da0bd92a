#include "outlook_process.h"

#include <commctrl.h>

namespace qor::tools::qorhost {

OutlookProcessLibraries::OutlookProcessLibraries() {
  for (const wchar_t* name : {L"comctl32.dll", L"shell32.dll", L"comdlg32.dll"})
    libraries_.emplace_back(LoadLibraryW(name));
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

}  // namespace qor::tools::qorhost
