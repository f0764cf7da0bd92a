#pragma once

// What the engine needs from the operating system, as small interfaces: Windows implementations
// in the Windows build, portable ones natively, doubles in the tests.

#include <string>

namespace qor::platform {

// The add-in's two per-user values ("ExePath", "ExeParam") under the current user's key
// "Software\Calvory Software\QOR for Outlook". The key is created when missing; a missing value
// reads as empty text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string ReadString(const std::string& name) = 0;
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// The shell's "open" verb on a program with a parameter text. The program is not waited for;
// when it cannot be started, Open throws std::runtime_error with the system's reason.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Open(const std::string& file, const std::string& parameters) = 0;
};

class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;
  // The documents folder shared by all users, not created when missing.
  virtual std::string CommonDocuments() = 0;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A plain modal message box with an OK button.
  virtual void Show(const std::string& text) = 0;
  // A modal message box with the error icon and an OK button.
  virtual void ShowError(const std::string& text) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Today in the user's short date format.
  virtual std::string ShortDate() = 0;
};

// The services one wizard or headless run works with.
struct Services {
  SettingsStore& settings;
  Shell& shell;
  SpecialFolders& folders;
  MessageBoxes& messages;
  Clock& clock;
};

}  // namespace qor::platform
