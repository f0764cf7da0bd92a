#pragma once

// The build's own half of text files (text_file_native.cpp, text_file_win32.cpp).

#include <optional>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace qor::platform::detail {

// The text as UTF-8; null when its bytes are no text in its encoding.
std::optional<std::string> DecodeText(const MarkedText& text);

// The bytes a text file holds for `text` (UTF-8).
std::string EncodeText(std::string_view text);

// What the message of a file that fails to decode calls the build's plain encoding.
extern const char* const kPlainEncodingName;

}  // namespace qor::platform::detail
