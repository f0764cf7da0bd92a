#pragma once

// UTF-8 (our text) <-> UTF-16 (COM's text). Lengths are exact, so embedded NULs survive; malformed
// input (stray bytes, lone surrogates) becomes U+FFFD instead of an error.

#include <string>
#include <string_view>

namespace qor::com {

std::wstring ToUtf16(std::string_view utf8);
std::string ToUtf8(std::wstring_view utf16);

}  // namespace qor::com
