#include "timer_window.h"

#include <utility>

#include "com/com_error.h"
#include "platform/window_class_win32.h"

namespace qor::tools::qorhost {
namespace {

constexpr wchar_t kClassName[] = L"QorHostTimerWindow";
constexpr UINT_PTR kTimer = 1;

}  // namespace

TimerWindow::TimerWindow(UINT intervalMs, std::function<void()> tick) : tick_(std::move(tick)) {
  platform::RegisterWindowClass(kClassName, DefWindowProcW, GetModuleHandleW(nullptr));
  window_.Reset(
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the timer window");
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  SetTimer(window_.Get(), kTimer, intervalMs, nullptr);
}

LRESULT CALLBACK TimerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER && wParam == kTimer) {
    if (auto* self = reinterpret_cast<TimerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) self->tick_();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages() noexcept {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace qor::tools::qorhost
