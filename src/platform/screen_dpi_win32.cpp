#include "platform/screen_dpi_win32.h"

#include <windows.h>

#include "platform/unique_any_win32.h"

namespace qor::platform {

int ScreenDpi() noexcept {
  const UniqueScreenDc screen(GetDC(nullptr));
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace qor::platform
