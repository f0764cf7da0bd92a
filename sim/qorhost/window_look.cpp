#include "window_look.h"

#include "platform/window_class_win32.h"

namespace qor::tools::qorhost {

void RegisterOutlookWindowClass() {
  platform::RegisterWindowClass(kOutlookWindowClass, DefWindowProcW, GetModuleHandleW(nullptr), 0,
                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

HFONT MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectW(&metrics.lfMessageFont);
}


}  // namespace qor::tools::qorhost
