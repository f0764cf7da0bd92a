#pragma once

// A real, never shown top-level window: the handle an Outlook window reports through IOleWindow,
// distinct per window and usable as an owner for dialogs.

#include <windows.h>

namespace qor::standin {

class HiddenWindow {
 public:
  HiddenWindow();  // throws ComError when the window cannot be made
  ~HiddenWindow();
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

  HWND Handle() const noexcept { return window_; }

 private:
  HWND window_;
};

}  // namespace qor::standin
