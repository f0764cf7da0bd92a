#include "platform/wide_text_win32.h"

#include <windows.h>

#include "platform/unique_any_win32.h"

#include <climits>
#include <stdexcept>

namespace qor::platform {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw std::runtime_error("text too long to convert");
  return static_cast<int>(size);
}

}  // namespace

std::wstring Widen(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = CheckedLength(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) throw std::runtime_error("text cannot be converted to UTF-16");
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = CheckedLength(text.size());
  // Best-fit mapping would turn a missing character into a different one (an "l" with a stroke
  // into a plain "l"); a question mark at least shows that something was lost. The UTF code pages,
  // which the ANSI code page may be, lack no character and refuse the flag.
  const UINT actualCodePage = codePage == CP_ACP ? GetACP() : codePage;
  const DWORD flags = actualCodePage == CP_UTF8 || actualCodePage == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) throw std::runtime_error("text cannot be converted from UTF-16");
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring WidenUtf8(std::string_view text) { return Widen(text, CP_UTF8); }

std::optional<std::wstring> WidenStrictly(std::string_view text, unsigned codePage) {
  if (text.empty()) return std::wstring();
  const int size = CheckedLength(text.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::string> NarrowLosslessly(std::wstring_view text, unsigned codePage) {
  const UINT actualCodePage = codePage == CP_ACP ? GetACP() : codePage;
  // The UTF code pages hold every character, and refuse the question of a default character.
  if (actualCodePage == CP_UTF8 || actualCodePage == CP_UTF7) return Narrow(text, codePage);
  if (text.empty()) return std::string();
  const int size = CheckedLength(text.size());
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::optional<std::string> NarrowToUtf8Strictly(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = CheckedLength(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::string NarrowToUtf8(std::wstring_view text) { return Narrow(text, CP_UTF8); }

std::wstring SystemMessageText(unsigned long code) {
  UniqueAny<HLOCAL, &LocalFree> owner;
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  owner.Reset(buffer);
  std::wstring message;
  if (length != 0 && buffer != nullptr) message.assign(buffer, length);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

std::string WindowsErrorMessage(unsigned long code) {
  const std::wstring message = SystemMessageText(code);
  return message.empty() ? "Windows error " + std::to_string(code) : NarrowToUtf8(message);
}

}  // namespace qor::platform
