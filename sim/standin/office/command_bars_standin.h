#pragma once

// Office's command-bar object model as real COM objects, for the Outlook stand-in and tests.

#include <oaidl.h>

#include <string>

#include "com/com_ptr.h"

namespace qor::standin::office {

// The command bars of one Outlook window, as Outlook of that major version has them: always
// "Menu Bar" and "Standard"; for versions 9 to 11 also "Folder Context Menu", for 10 and 11
// "Context Menu".
com::ComPtr<IDispatch> CreateCommandBars(int majorVersion);

// The popup bar Outlook 2007 and later hand to a context-menu display event.
com::ComPtr<IDispatch> CreateContextMenuBar(const std::string& name);

// Raises OnUpdate on a collection made by CreateCommandBars.
void RaiseOnUpdate(IDispatch& commandBars);

}  // namespace qor::standin::office
