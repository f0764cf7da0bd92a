#pragma once

// What qorhost's windows share: Outlook's window class, the system's message font, the scale.

#include <windows.h>

#include "platform/unique_any_win32.h"

namespace qor::tools::qorhost {

// The class of Outlook's explorer and inspector windows: add-ins look for it.
inline constexpr wchar_t kOutlookWindowClass[] = L"rctrl_renwnd32";

// Registers the class once, with DefWindowProc; each window sets its own procedure.
void RegisterOutlookWindowClass();

// The font of message boxes, which Outlook's panes use too.
HFONT MessageFont();

inline int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, USER_DEFAULT_SCREEN_DPI); }

}  // namespace qor::tools::qorhost
