#pragma once

#include <istream>
#include <ostream>

#include "wizard/script/script_runner.h"
#include "wizard/win32/wizard_window.h"

namespace qor::wizard::win32 {

// Opens the real wizard dialog (shown, not modal), runs the script against it with window
// messages, answers its message boxes by pressing their buttons, and closes it. Makes the process
// DPI-aware first, as Office is, so the dialog is laid out for the system's DPI.
void RunScriptInWindow(const WindowServices& services, std::istream& script, const ScriptHooks& hooks,
                       std::ostream& out);

}  // namespace qor::wizard::win32
