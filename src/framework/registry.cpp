#include "framework/registry.h"

#include "framework/adx_error.h"
#include "platform/wide_text_win32.h"

namespace qor::framework {

std::wstring RelativeKeyPath(const std::wstring& path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  return start == std::wstring::npos ? std::wstring() : path.substr(start);
}

void Registry::SetRootKey(HKEY root) noexcept {
  CloseKey();
  root_ = root;
}

bool Registry::OpenKey(const std::wstring& path, bool create) {
  CloseKey();
  const std::wstring relative = RelativeKeyPath(path);
  const LSTATUS status =
      create ? RegCreateKeyExW(root_, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                               key_.Put(), nullptr)
             : RegOpenKeyExW(root_, relative.c_str(), 0, KEY_ALL_ACCESS, key_.Put());
  if (status != ERROR_SUCCESS) {
    key_.Release();
    return false;
  }
  return true;
}

bool Registry::OpenKeyReadOnly(const std::wstring& path) {
  CloseKey();
  const std::wstring relative = RelativeKeyPath(path);
  if (RegOpenKeyExW(root_, relative.c_str(), 0, KEY_READ, key_.Put()) != ERROR_SUCCESS) {
    key_.Release();
    return false;
  }
  return true;
}

void Registry::CloseKey() noexcept {
  key_.Reset();
}

bool Registry::KeyExists(const std::wstring& path) const {
  platform::UniqueHkey key;
  return RegOpenKeyExW(root_, RelativeKeyPath(path).c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool Registry::DeleteKey(const std::wstring& path) {
  const std::wstring relative = RelativeKeyPath(path);
  return !relative.empty() && RegDeleteTreeW(root_, relative.c_str()) == ERROR_SUCCESS;
}

HKEY Registry::OpenHandle() const {
  if (!key_) throw AdxError("No registry key is open.", 0);
  return key_.Get();
}

bool Registry::ValueExists(const std::wstring& name) const {
  return key_ && RegQueryValueExW(key_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::wstring> Registry::ValueNames() const {
  std::vector<std::wstring> names;
  if (!key_) return names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring name(longest + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(key_.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      names.emplace_back(name.data(), length);
  }
  return names;
}

bool Registry::DeleteValue(const std::wstring& name) {
  return key_ && RegDeleteValueW(key_.Get(), name.c_str()) == ERROR_SUCCESS;
}

std::optional<std::wstring> Registry::ReadString(const std::wstring& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::optional<std::uint32_t> Registry::ReadInteger(const std::wstring& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

namespace {
[[noreturn]] void ThrowWriteFailed(const std::wstring& name, LSTATUS status) {
  throw AdxError("Failed to set data for '" + platform::NarrowToUtf8(name) + "': " +
                     platform::WindowsErrorMessage(static_cast<unsigned long>(status)),
                 0);
}
}  // namespace

void Registry::WriteString(const std::wstring& name, const std::wstring& value) {
  const LSTATUS status =
      RegSetValueExW(OpenHandle(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) ThrowWriteFailed(name, status);
}

void Registry::WriteInteger(const std::wstring& name, std::uint32_t value) {
  const DWORD data = value;
  const LSTATUS status =
      RegSetValueExW(OpenHandle(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
  if (status != ERROR_SUCCESS) ThrowWriteFailed(name, status);
}

}  // namespace qor::framework
