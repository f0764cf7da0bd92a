#include "message_box_watch.h"

#include <array>
#include <utility>

#include "com/com_error.h"
#include "wizard/script/script_answers.h"
#include "wizard/win32/window_driver.h"

namespace qor::tools::qorhost {
namespace {

constexpr wchar_t kClassName[] = L"QorHostMessageBoxWatch";
constexpr UINT_PTR kTimer = 1;
constexpr UINT kTimerMs = 50;

constexpr std::array<std::pair<const char*, int>, 7> kButtons{{{"ok", IDOK},
                                                               {"cancel", IDCANCEL},
                                                               {"yes", IDYES},
                                                               {"no", IDNO},
                                                               {"retry", IDRETRY},
                                                               {"ignore", IDIGNORE},
                                                               {"abort", IDABORT}}};

std::wstring ClassOf(HWND window) {
  wchar_t name[32] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return {name, static_cast<std::size_t>(length > 0 ? length : 0)};
}

// A shown dialog of nothing but text, an icon and push buttons.
bool IsMessageBox(HWND window) {
  if (!IsWindowVisible(window) || ClassOf(window) != L"#32770") return false;
  bool hasButton = false;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring kind = ClassOf(child);
    if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
      hasButton = true;
    } else if (lstrcmpiW(kind.c_str(), L"Static") != 0) {
      return false;
    }
  }
  return hasButton;
}

HWND ShownMessageBox() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) -> BOOL {
        if (!IsMessageBox(window)) return TRUE;
        *reinterpret_cast<HWND*>(state) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int DefaultButton(HWND box) {
  const auto defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
  return HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
}

void RegisterWatchClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  if (!registered) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot register the message box watch");
}

}  // namespace

std::optional<int> ButtonId(const std::string& name) {
  for (const auto& [buttonName, id] : kButtons)
    if (lstrcmpiA(name.c_str(), buttonName) == 0) return id;
  return std::nullopt;
}

MessageBoxWatch::MessageBoxWatch(std::ostream& out) : out_(out) {
  RegisterWatchClass();
  window_.Reset(
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the message box watch");
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  SetTimer(window_.Get(), kTimer, kTimerMs, nullptr);
}

LRESULT CALLBACK MessageBoxWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER && wParam == kTimer) {
    if (auto* watch = reinterpret_cast<MessageBoxWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA))) watch->Look();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void MessageBoxWatch::Look() noexcept {
  try {
    const HWND box = ShownMessageBox();
    if (box != nullptr && box != answered_) Answer(box);
  } catch (...) {
    // Out of memory while reading a box: the next tick tries again.
  }
}

void MessageBoxWatch::Answer(HWND box) {
  out_ << wizard::FormatMessageLine(wizard::win32::ReadMessageBox(box)) << '\n';
  answered_ = box;
  int button = DefaultButton(box);
  if (!answers_.empty()) {
    if (GetDlgItem(box, answers_.front()) != nullptr) button = answers_.front();
    answers_.pop_front();
  }
  // Pressed once the box's loop takes the next message, as a user's click arrives.
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

void PumpMessages() noexcept {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace qor::tools::qorhost
