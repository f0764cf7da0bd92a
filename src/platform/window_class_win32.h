#pragma once

// Window classes of this program or library.

#include <windows.h>

namespace qor::platform {

// Registers the class `name` with an arrow cursor and the given procedure, module, styles and
// background. A class of that name already there (registered by an earlier call, or by an earlier
// load of the same library) is taken as it is. Throws std::runtime_error naming the class.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE module, UINT style = 0,
                         HBRUSH background = nullptr);

}  // namespace qor::platform
