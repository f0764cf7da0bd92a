#pragma once

// The portable implementations of the platform services, for the native build.

#include <filesystem>
#include <string>

#include "platform/services.h"

namespace qor::platform {

// String values in a small JSON object file, made with its folder on the first write. A missing or
// malformed file, or a value that is not a string, reads as empty text; writing replaces a
// malformed file with a sound one. Other failures to read or write the file throw
// std::runtime_error naming it.
class JsonSettingsStore final : public SettingsStore {
 public:
  explicit JsonSettingsStore(std::filesystem::path file);
  std::string ReadString(const std::string& name) override;
  void WriteString(const std::string& name, const std::string& value) override;

 private:
  std::filesystem::path file_;
};

// Starts `file` itself, never through a shell, with `parameters` split the way a Windows program
// splits its command line (SplitWindowsCommandLine); a file name without a slash is looked up in
// PATH. The program is not waited for and a failed start goes unreported.
class SpawnShell final : public Shell {
 public:
  void Open(const std::string& file, const std::string& parameters) override;
};

// $XDG_DOCUMENTS_DIR when set and not empty, else $HOME/Documents; empty text without either.
class EnvironmentSpecialFolders final : public SpecialFolders {
 public:
  std::string CommonDocuments() override;
};

// The text on its own line of standard error.
class StderrMessageBoxes final : public MessageBoxes {
 public:
  void Show(const std::string& text) override;
  void ShowError(const std::string& text) override { Show(text); }
};

// strftime's "%x" in the environment's locale, or in the "C" locale when the environment names
// one that does not exist; always UTF-8.
class LocaleClock final : public Clock {
 public:
  std::string ShortDate() override;
};

}  // namespace qor::platform
