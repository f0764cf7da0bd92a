#pragma once

// An item open in a window of its own, as Outlook's inspector shows it: the subject as caption,
// the body below. Closing it is the owner's to carry out, through `closing`.

#include <windows.h>

#include <functional>

#include "host/memory/memory_item.h"
#include "platform/unique_any_win32.h"
#include "window_failures.h"

namespace qor::tools::qorhost {

class InspectorWindow {
 public:
  // What `closing` throws goes to `failures`, and the window stays.
  InspectorWindow(const host::memory::MemoryItem& item, HWND owner, std::function<void()> closing,
                  WindowFailures& failures);
  ~InspectorWindow();
  InspectorWindow(const InspectorWindow&) = delete;
  InspectorWindow& operator=(const InspectorWindow&) = delete;

  HWND Handle() const noexcept { return window_.Get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  std::function<void()> closing_;
  WindowFailures& failures_;
  platform::UniqueHfont font_;
  platform::UniqueHwnd window_;
  HWND body_ = nullptr;
};

}  // namespace qor::tools::qorhost
