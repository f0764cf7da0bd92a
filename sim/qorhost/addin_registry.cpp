#include "addin_registry.h"

#include <algorithm>
#include <map>
#include <optional>

#include "com/com_error.h"
#include "com/dispatch_table.h"
#include "com/utf.h"
#include "platform/unique_any_win32.h"

namespace qor::tools::qorhost {
namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\AddIns";

platform::UniqueHkey OpenKey(HKEY hive, const std::wstring& path, REGSAM access = KEY_READ) {
  platform::UniqueHkey key;
  if (RegOpenKeyExW(hive, path.c_str(), 0, access, key.Put()) != ERROR_SUCCESS) key.Reset();
  return key;
}

std::wstring AddinKeyPath(const std::string& progId) { return std::wstring(kAddinsKey) + L"\\" + com::ToUtf16(progId); }

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::optional<std::wstring> ReadText(HKEY key, const wchar_t* name) {
  DWORD size = 0;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool AlreadySeen(const std::vector<AddinRegistration>& found, const std::wstring& progId) {
  return std::any_of(found.begin(), found.end(), [&](const AddinRegistration& addin) {
    return com::DispatchNamesEqual(com::ToUtf16(addin.progId), progId);
  });
}

std::string ValueText(DWORD type, const std::vector<BYTE>& data) {
  switch (type) {
    case REG_DWORD: {
      DWORD value = 0;
      std::copy_n(data.begin(), std::min(data.size(), sizeof value), reinterpret_cast<BYTE*>(&value));
      return std::to_string(value);
    }
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const auto* text = reinterpret_cast<const wchar_t*>(data.data());
      return com::ToUtf8(std::wstring_view(text, wcsnlen(text, data.size() / sizeof(wchar_t))));
    }
    default:
      return "(type " + std::to_string(type) + ")";
  }
}

}  // namespace

std::vector<AddinRegistration> ReadAddinRegistrations() {
  std::vector<AddinRegistration> found;
  for (const HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const auto addins = OpenKey(hive, kAddinsKey);
    if (!addins) continue;
    for (const auto& progId : SubkeyNames(addins.Get())) {
      if (AlreadySeen(found, progId)) continue;
      const auto key = OpenKey(addins.Get(), progId);
      if (!key) continue;
      AddinRegistration addin{.progId = com::ToUtf8(progId), .hive = hive};
      addin.loadBehavior = ReadDword(key.Get(), L"LoadBehavior").value_or(0);
      addin.requireShutdownNotification = ReadDword(key.Get(), L"RequireShutdownNotification").value_or(0) == 1;
      addin.friendlyName = com::ToUtf8(ReadText(key.Get(), L"FriendlyName").value_or(progId));
      found.push_back(std::move(addin));
    }
  }
  return found;
}

bool FastShutdownDisabled(int majorVersion) {
  const auto key = OpenKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\" + std::to_wstring(majorVersion) +
                                                  L".0\\Outlook\\Options\\Shutdown");
  return key && ReadDword(key.Get(), L"AddinFastShutdownBehavior").value_or(0) == 1;
}

void WriteLoadBehavior(const AddinRegistration& addin, DWORD value) {
  const auto key = OpenKey(addin.hive, AddinKeyPath(addin.progId), KEY_SET_VALUE);
  if (!key) throw com::ComError(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "the add-in's key is gone");
  const LSTATUS status =
      RegSetValueExW(key.Get(), L"LoadBehavior", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  if (status != ERROR_SUCCESS) throw com::ComError(HRESULT_FROM_WIN32(status));
}

bool PrintAddinKey(const std::string& progId, std::ostream& out) {
  const auto key = OpenKey(HKEY_CURRENT_USER, AddinKeyPath(progId));
  if (!key) return false;
  std::map<std::string, std::string> values;
  wchar_t name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key.Get(), index, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    length = static_cast<DWORD>(std::size(name));
    if (RegEnumValueW(key.Get(), index, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    data.resize(size);
    values[length == 0 ? "@" : com::ToUtf8(std::wstring_view(name, length))] = ValueText(type, data);
  }
  for (const auto& [valueName, text] : values) out << valueName << '=' << text << '\n';
  auto subkeys = SubkeyNames(key.Get());
  std::sort(subkeys.begin(), subkeys.end());
  for (const auto& subkey : subkeys) out << "subkey " << com::ToUtf8(subkey) << '\n';
  return true;
}

}  // namespace qor::tools::qorhost
