#include "com/utf.h"

#include "platform/wide_text_win32.h"

namespace qor::com {

std::wstring ToUtf16(std::string_view utf8) { return platform::WidenUtf8(utf8); }

std::string ToUtf8(std::wstring_view utf16) { return platform::NarrowToUtf8(utf16); }

}  // namespace qor::com
