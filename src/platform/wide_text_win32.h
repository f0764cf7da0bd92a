#pragma once

// Text at the Windows API boundary: UTF-16 there, UTF-8 (or the ANSI code page for files) here.

#include <optional>
#include <string>
#include <string_view>

namespace qor::platform {

// `codePage` is a Windows code page identifier (CP_UTF8, CP_ACP, ...). Bytes the code page does
// not define become U+FFFD; characters it lacks become its default character ("?"), never a
// look-alike.
std::wstring Widen(std::string_view text, unsigned codePage);
std::string Narrow(std::wstring_view text, unsigned codePage);

std::wstring WidenUtf8(std::string_view text);

// Null when `text` holds bytes the code page does not define (invalid UTF-8, say).
std::optional<std::wstring> WidenStrictly(std::string_view text, unsigned codePage);
// Null when the code page lacks a character of `text`.
std::optional<std::string> NarrowLosslessly(std::wstring_view text, unsigned codePage);
// Null when `text` holds a lone surrogate.
std::optional<std::string> NarrowToUtf8Strictly(std::wstring_view text);
std::string NarrowToUtf8(std::wstring_view text);

// The system's message for a Windows error code or HRESULT, without the trailing line break;
// empty when the system has none.
std::wstring SystemMessageText(unsigned long code);

// The system's message for a Windows error code, without the trailing line break.
std::string WindowsErrorMessage(unsigned long code);

}  // namespace qor::platform
