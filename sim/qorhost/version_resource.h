#pragma once

// Outlook's file version as a program's VS_VERSION_INFO resource carries it.

#include <windows.h>

#include <string>
#include <vector>

namespace qor::tools::qorhost {

// The language of the version resource in qorhost.rc; a stamp replaces the resource of that language.
inline constexpr WORD kVersionLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// A VS_VERSION_INFO block for OUTLOOK.EXE of `versionText` ("16.0.0.4266"): the fixed file and
// product versions and the usual strings.
std::vector<BYTE> OutlookVersionResource(const std::string& versionText);

}  // namespace qor::tools::qorhost
