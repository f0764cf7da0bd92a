#include "inspector_window.h"

#include "com/com_error.h"
#include "com/utf.h"
#include "platform/screen_dpi_win32.h"
#include "window_look.h"

namespace qor::tools::qorhost {
namespace {

// Windows' edit control wants CR LF line breaks.
std::wstring WithCrLf(const std::string& text) {
  std::wstring lines;
  for (const wchar_t c : com::ToUtf16(text)) {
    if (c == L'\n' && (lines.empty() || lines.back() != L'\r')) lines += L'\r';
    lines += c;
  }
  return lines;
}

}  // namespace

InspectorWindow::InspectorWindow(const host::memory::MemoryItem& item, HWND owner, std::function<void()> closing,
                                 WindowFailures& failures)
    : closing_(std::move(closing)), failures_(failures), font_(MessageFont()) {
  RegisterOutlookWindowClass();
  const std::string subject = item.StoredSubject();
  const std::wstring caption = com::ToUtf16(subject.empty() ? "Untitled" : subject) + L" - Message";
  const int dpi = platform::ScreenDpi();
  window_.Reset(CreateWindowExW(0, kOutlookWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, Scaled(60, dpi),
                                Scaled(60, dpi), Scaled(560, dpi), Scaled(420, dpi), owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the inspector's window");
  body_ = CreateWindowExW(0, L"EDIT", WithCrLf(item.StoredBody()).c_str(),
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
                          window_.Get(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(body_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  RECT client{};
  GetClientRect(window_.Get(), &client);
  MoveWindow(body_, 0, 0, client.right, client.bottom, FALSE);
  ShowWindow(window_.Get(), SW_SHOWNORMAL);
}

InspectorWindow::~InspectorWindow() {
  if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK InspectorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<InspectorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_SIZE) {
    MoveWindow(self->body_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  if (self != nullptr && message == WM_CLOSE) {
    // The owner closes the inspector in Outlook's order, then this window, which is gone once the
    // call returns; a failure leaves it open.
    WindowFailures& failures = self->failures_;
    try {
      const auto closing = self->closing_;
      if (closing) closing();
    } catch (...) {
      failures.Catch();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qor::tools::qorhost
