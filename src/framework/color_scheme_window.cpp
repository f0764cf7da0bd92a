#include "framework/color_scheme_window.h"

#include <objbase.h>

#include "com/com_error.h"
#include "com/guid_text.h"
#include "framework/module_instance.h"
#include "platform/window_class_win32.h"

namespace qor::framework {

namespace {

constexpr wchar_t kClassName[] = L"TadxColorSchemeWindow";

// A fresh GUID as text: a window name no other window has.
std::wstring NewGuidText() {
  GUID guid{};
  com::ThrowIfFailed(CoCreateGuid(&guid));
  return com::GuidText(guid);
}

}  // namespace

UINT ColorSchemeWindow::BroadcastMessage() noexcept {
  static const UINT message = RegisterWindowMessageW(L"WM_MSO_BROADCASTCHANGE");
  return message;
}

ColorSchemeWindow::ColorSchemeWindow(std::function<void()> onBroadcastChange)
    : onBroadcastChange_(std::move(onBroadcastChange)) {
  platform::RegisterWindowClass(kClassName, &WindowProc, ThisModule());
  BroadcastMessage();
  window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, NewGuidText().c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ThisModule(), this));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()));
}

// A DLL's window classes outlive it unless it removes them: a later load would find a class whose
// procedure points into the unloaded image.
ColorSchemeWindow::~ColorSchemeWindow() {
  window_.Reset();
  UnregisterClassW(kClassName, ThisModule());
}

LRESULT CALLBACK ColorSchemeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ColorSchemeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_QUERYENDSESSION) return 1;
  if (self != nullptr && message == BroadcastMessage() && self->onBroadcastChange_) self->onBroadcastChange_();
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qor::framework
