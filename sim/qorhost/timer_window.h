#pragma once

// A message-only window that calls back on every tick of its timer, from whatever loop of this
// thread dispatches messages: the host's own, or a modal one an add-in runs (a message box, a
// dialog).

#include <windows.h>

#include <functional>

#include "platform/unique_any_win32.h"

namespace qor::tools::qorhost {

class TimerWindow {
 public:
  // `tick` must not throw.
  TimerWindow(UINT intervalMs, std::function<void()> tick);
  TimerWindow(const TimerWindow&) = delete;
  TimerWindow& operator=(const TimerWindow&) = delete;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  std::function<void()> tick_;
  platform::UniqueHwnd window_;
};

// Lets the thread's posted messages and due timers run, as Outlook's message loop would between
// the user's actions.
void PumpMessages() noexcept;

}  // namespace qor::tools::qorhost
