#include "message_box_watch.h"

#include <array>
#include <exception>
#include <iostream>
#include <utility>

#include "screen_picture.h"
#include "wizard/script/script_answers.h"
#include "wizard/win32/window_driver.h"

namespace qor::tools::qorhost {
namespace {

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
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        if (!IsMessageBox(window)) return TRUE;
        *reinterpret_cast<HWND*>(state) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int DefaultButton(HWND box) {
  const auto defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
  if (HIWORD(defaultId) == DC_HASDEFID && GetDlgItem(box, LOWORD(defaultId)) != nullptr) return LOWORD(defaultId);
  // Else the button drawn as the default one, else the first.
  int first = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiW(ClassOf(child).c_str(), L"Button") != 0) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return GetDlgCtrlID(child);
    if (first == 0) first = GetDlgCtrlID(child);
  }
  return first != 0 ? first : IDOK;
}

}  // namespace

std::optional<int> ButtonId(const std::string& name) {
  for (const auto& [buttonName, id] : kButtons)
    if (lstrcmpiA(name.c_str(), buttonName) == 0) return id;
  return std::nullopt;
}

MessageBoxWatch::MessageBoxWatch(std::ostream& out) : out_(out), timer_(kTimerMs, [this] { Look(); }) {}

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
  if (!pictures_.empty()) {
    const std::string file = std::move(pictures_.front());
    pictures_.pop_front();
    // The box is answered all the same: a run must not hang on a picture it could not write.
    try {
      PictureOwnWindows(file);
    } catch (const std::exception& error) {
      std::cerr << "qorhost: " << error.what() << '\n';
    }
  }
  int button = DefaultButton(box);
  if (!answers_.empty()) {
    if (GetDlgItem(box, answers_.front()) != nullptr) button = answers_.front();
    answers_.pop_front();
  }
  // Pressed once the box's loop takes the next message, as a user's click arrives.
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

}  // namespace qor::tools::qorhost
