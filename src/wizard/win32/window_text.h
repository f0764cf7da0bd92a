#pragma once

#include <windows.h>

#include <string>

namespace qor::wizard::win32 {

// The text a window holds: a control's caption or contents.
inline std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace qor::wizard::win32
