#pragma once

// The Windows implementations of the platform services.

#include <filesystem>
#include <string>

#include "platform/services.h"

namespace qor::platform {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Calvory Software\\QOR for Outlook";

// REG_SZ values under a key of HKEY_CURRENT_USER, created when missing. A value of another type
// reads as empty text; a string value reads up to its first NUL or the end of its data, whether
// or not it carries a terminator. Other registry failures throw std::runtime_error.
class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(std::wstring keyPath = kSettingsKey);
  std::string ReadString(const std::string& name) override;
  void WriteString(const std::string& name, const std::string& value) override;

 private:
  std::wstring keyPath_;
};

class ShellExecuteShell final : public Shell {
 public:
  void Open(const std::string& file, const std::string& parameters) override;
};

// Empty text when the shell cannot name the folder.
// The user's local application data folder ("%LOCALAPPDATA%"); empty when the shell has none.
std::filesystem::path LocalAppDataFolder();

class ShellSpecialFolders final : public SpecialFolders {
 public:
  std::string CommonDocuments() override;
};

class WindowsMessageBoxes final : public MessageBoxes {
 public:
  void Show(const std::string& text) override;
  void ShowError(const std::string& text) override;
};

class UserLocaleClock final : public Clock {
 public:
  std::string ShortDate() override;
};

}  // namespace qor::platform
