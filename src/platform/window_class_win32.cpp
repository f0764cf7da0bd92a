#include "platform/window_class_win32.h"

#include <stdexcept>
#include <string>

#include "platform/wide_text_win32.h"

namespace qor::platform {

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE module, UINT style, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  if (RegisterClassExW(&windowClass) != 0) return;
  const DWORD error = GetLastError();
  if (error == ERROR_CLASS_ALREADY_EXISTS) return;
  throw std::runtime_error("cannot register the window class \"" + NarrowToUtf8(name) +
                           "\": " + WindowsErrorMessage(error));
}

}  // namespace qor::platform
