#pragma once

#include <string_view>

namespace qor::platform {

// Whether two UTF-8 texts are equal ignoring letter case in every script, as Outlook compares
// folder names: character by character under the simple case mapping (Windows'
// CompareStringOrdinal ignoring case; natively the C.UTF-8 locale's mapping). Bytes that are no
// UTF-8 must match exactly.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qor::platform
