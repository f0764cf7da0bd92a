#pragma once

#include <windows.h>

#include <string>

namespace qor::framework {

// The module (DLL or program) this code is linked into.
HINSTANCE ThisModule() noexcept;
std::wstring ThisModulePath();

}  // namespace qor::framework
