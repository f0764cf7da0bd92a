#include "standin/outlook/hidden_window.h"

#include "com/com_error.h"

namespace qor::standin {

HiddenWindow::HiddenWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"Outlook", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
  if (window_ == nullptr) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()));
}

HiddenWindow::~HiddenWindow() { DestroyWindow(window_); }

}  // namespace qor::standin
