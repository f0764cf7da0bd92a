#pragma once

// A registry object in the manner the framework uses one: a root key, at most one open key, and
// value reads and writes on it. Paths are relative to the root; a leading "\" is allowed.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_any_win32.h"

namespace qor::framework {

class Registry {
 public:
  explicit Registry(HKEY root = HKEY_CURRENT_USER) noexcept : root_(root) {}

  HKEY RootKey() const noexcept { return root_; }
  // Closes the open key, as switching roots does.
  void SetRootKey(HKEY root) noexcept;

  // False when the key cannot be opened (or created); the previous key is closed either way.
  bool OpenKey(const std::wstring& path, bool create);
  bool OpenKeyReadOnly(const std::wstring& path);
  void CloseKey() noexcept;
  bool IsOpen() const noexcept { return static_cast<bool>(key_); }

  bool KeyExists(const std::wstring& path) const;
  // Deletes the key with everything below it; false when it is missing or cannot be deleted.
  bool DeleteKey(const std::wstring& path);

  // Values of the open key. Reads give nothing when the value is missing or of another kind.
  bool ValueExists(const std::wstring& name) const;
  std::vector<std::wstring> ValueNames() const;
  bool DeleteValue(const std::wstring& name);
  std::optional<std::wstring> ReadString(const std::wstring& name) const;
  std::optional<std::uint32_t> ReadInteger(const std::wstring& name) const;
  // Throw AdxError naming the value when the write fails.
  void WriteString(const std::wstring& name, const std::wstring& value);
  void WriteInteger(const std::wstring& name, std::uint32_t value);

 private:
  HKEY OpenHandle() const;

  HKEY root_;
  platform::UniqueHkey key_;
};

// "\Software\x" and "Software\x" name the same key.
std::wstring RelativeKeyPath(const std::wstring& path);

}  // namespace qor::framework
