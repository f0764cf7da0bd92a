#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/services_win32.h"
#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {
namespace {

[[noreturn]] void ThrowRegistryError(const std::string& what, const std::wstring& keyPath, LSTATUS status) {
  throw std::runtime_error(what + " HKEY_CURRENT_USER\\" + NarrowToUtf8(keyPath) + ": " +
                           WindowsErrorMessage(static_cast<unsigned long>(status)));
}

UniqueHkey CreateKey(const std::wstring& keyPath, REGSAM access) {
  UniqueHkey key;
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         access, nullptr, key.Put(), nullptr);
  if (status != ERROR_SUCCESS) ThrowRegistryError("cannot open registry key", keyPath, status);
  return key;
}

// The data as stored, which need not be a terminated UTF-16 text whatever its type claims.
std::wstring StringFromData(const std::vector<BYTE>& data, DWORD size) {
  std::wstring text(std::min<std::size_t>(size, data.size()) / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  const std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::wstring keyPath) : keyPath_(std::move(keyPath)) {}

std::string RegistrySettingsStore::ReadString(const std::string& name) {
  const UniqueHkey key = CreateKey(keyPath_, KEY_QUERY_VALUE);
  const std::wstring valueName = WidenUtf8(name);
  std::vector<BYTE> data;
  for (;;) {
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(data.size());
    const LSTATUS status =
        RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
      ThrowRegistryError("cannot read value \"" + name + "\" of", keyPath_, status);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    if (status == ERROR_SUCCESS && (!data.empty() || size == 0)) return NarrowToUtf8(StringFromData(data, size));
    // The first call asked for the size only; a value that grew in between is asked again.
    data.resize(size);
  }
}

void RegistrySettingsStore::WriteString(const std::string& name, const std::string& value) {
  const UniqueHkey key = CreateKey(keyPath_, KEY_SET_VALUE);
  const std::wstring wideValue = WidenUtf8(value);
  const auto size = static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetValueExW(key.Get(), WidenUtf8(name).c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(wideValue.c_str()), size);
  if (status != ERROR_SUCCESS) ThrowRegistryError("cannot write value \"" + name + "\" of", keyPath_, status);
}

}  // namespace qor::platform
