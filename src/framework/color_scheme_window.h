#pragma once

// The module's hidden window that hears Office announce a colour-scheme change through the
// registered message "WM_MSO_BROADCASTCHANGE".

#include <windows.h>

#include <functional>

#include "platform/unique_any_win32.h"

namespace qor::framework {

class ColorSchemeWindow {
 public:
  // `onBroadcastChange` runs inside the window procedure and must not throw.
  explicit ColorSchemeWindow(std::function<void()> onBroadcastChange);
  ~ColorSchemeWindow();  // also unregisters the window class
  ColorSchemeWindow(const ColorSchemeWindow&) = delete;
  ColorSchemeWindow& operator=(const ColorSchemeWindow&) = delete;

  static UINT BroadcastMessage() noexcept;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  std::function<void()> onBroadcastChange_;
  platform::UniqueHwnd window_;
};

}  // namespace qor::framework
