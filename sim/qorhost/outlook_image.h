#pragma once

// Add-ins learn Outlook's version from the file of the process they are loaded in, OUTLOOK.EXE.
// One build of qorhost plays every version: it runs a copy of itself under that name, stamped with
// the version's VS_VERSION_INFO, in a folder per version next to itself.

#include <windows.h>

#include <filesystem>
#include <string>

namespace qor::tools::qorhost {

// This process's program file.
std::filesystem::path ProgramPath();

// This process's program is OUTLOOK.EXE and carries `majorVersion`.
bool RunsAsOutlook(int majorVersion);

// The copy that plays `majorVersion`, made or remade when missing or older than this program.
// Throws ComError when it cannot be made.
std::wstring PrepareOutlookImage(int majorVersion);

// Runs `image` with this process's arguments and standard handles; returns its exit code.
DWORD RunImage(const std::wstring& image);

}  // namespace qor::tools::qorhost
