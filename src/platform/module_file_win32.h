#pragma once

// The files behind loaded modules, and the version they carry.

#include <windows.h>

#include <string>

namespace qor::platform {

// The full path of `module`'s file; null is the process's program. Throws std::runtime_error.
std::wstring ModuleFileName(HMODULE module);

// The major file version in `path`'s version resource; 0 when it carries none.
int FileMajorVersion(const std::wstring& path);

}  // namespace qor::platform
