#pragma once

#include <windows.h>

#include <string>

namespace qor::wizard::win32 {

// Writes the screen's pixels inside `area` (screen coordinates) to a PNG file. Throws
// com::ComError (or std::runtime_error) naming the file when it cannot.
// The calling thread must have initialised COM; the wizard calls it from its UI thread, a
// single-threaded apartment.
void CaptureScreen(const RECT& area, const std::wstring& file);

}  // namespace qor::wizard::win32
