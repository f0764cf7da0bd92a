#pragma once

#include <guiddef.h>

#include <string>

namespace qor::com {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry holds class ids.
std::wstring GuidText(const GUID& guid);

}  // namespace qor::com
