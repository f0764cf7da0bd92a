#pragma once

#include <optional>

namespace qor::framework {

// The major file version of the process's program (Outlook's OUTLOOK.EXE); 14 inside the COM
// surrogate dllhost.exe; nothing when the file carries no readable version.
std::optional<int> HostProgramMajorVersion();

}  // namespace qor::framework
