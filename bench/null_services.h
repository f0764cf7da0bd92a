#pragma once

// Platform services that do nothing, for benchmarks of engine and wizard steps: no settings, no
// shell, no message boxes, a fixed documents folder and date.

#include <string>
#include <utility>

#include "platform/services.h"

namespace qor::bench {

class NoSettings final : public platform::SettingsStore {
 public:
  std::string ReadString(const std::string&) override { return {}; }
  void WriteString(const std::string&, const std::string&) override {}
};

class NoShell final : public platform::Shell {
 public:
  void Open(const std::string&, const std::string&) override {}
};

class FixedFolders final : public platform::SpecialFolders {
 public:
  explicit FixedFolders(std::string documents) : documents_(std::move(documents)) {}
  std::string CommonDocuments() override { return documents_; }

 private:
  std::string documents_;
};

class NoPlainMessages final : public platform::MessageBoxes {
 public:
  void Show(const std::string&) override {}
  void ShowError(const std::string&) override {}
};

class FixedClock final : public platform::Clock {
 public:
  std::string ShortDate() override { return "09/12/2026"; }
};

// All of them, as the engine's context takes them.
struct NullServices {
  explicit NullServices(std::string documents) : folders(std::move(documents)) {}
  NoSettings settings;
  NoShell shell;
  FixedFolders folders;
  NoPlainMessages plainMessages;
  FixedClock clock;
  platform::Services services{settings, shell, folders, plainMessages, clock};
};

}  // namespace qor::bench
