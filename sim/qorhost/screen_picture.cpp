#include "screen_picture.h"

#include <windows.h>

#include <stdexcept>

#include "com/utf.h"
#include "wizard/win32/capture/screen_capture.h"

namespace qor::tools::qorhost {
namespace {

constexpr DWORD kScreenFlushMs = 60;

}  // namespace

void PictureOwnWindows(const std::string& file) {
  RECT area{};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        RECT shown{};
        if (IsWindowVisible(window) && GetWindowRect(window, &shown) && !IsRectEmpty(&shown)) {
          // What is still to be painted (a menu that has just popped up) is painted first.
          RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
          auto& covered = *reinterpret_cast<RECT*>(state);
          UnionRect(&covered, &covered, &shown);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&area));
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&area, &area, &screen);
  // Wine hands what windows painted to the screen from a message loop, at most every 50 ms: one
  // look at the queue, later than that, lets it happen. It takes no message.
  GdiFlush();
  Sleep(kScreenFlushMs);
  MSG message{};
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  if (IsRectEmpty(&area)) throw std::runtime_error("no window is on the screen to picture in " + file);
  wizard::win32::CaptureScreen(area, com::ToUtf16(file));
}

}  // namespace qor::tools::qorhost
