#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace qor::tests {

class FakeSettings : public platform::SettingsStore {
 public:
  std::string ReadString(const std::string& name) override {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
  }
  void WriteString(const std::string& name, const std::string& value) override { values[name] = value; }

  std::map<std::string, std::string> values;
};

class RecordingShell : public platform::Shell {
 public:
  void Open(const std::string& file, const std::string& parameters) override {
    opened.emplace_back(file, parameters);
    if (!failure.empty()) throw std::runtime_error(failure);
  }

  std::vector<std::pair<std::string, std::string>> opened;
  std::string failure;  // the system's reason every start then fails with
};

class FixedFolders : public platform::SpecialFolders {
 public:
  std::string CommonDocuments() override { return commonDocuments; }

  std::string commonDocuments;
};

class RecordingMessageBoxes : public platform::MessageBoxes {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  std::vector<std::string> shown;
  std::vector<std::string> errors;
};

class FixedClock : public platform::Clock {
 public:
  std::string ShortDate() override { return today; }

  std::string today = "09/12/2026";
};

// Every service as a double, bundled the way the engine takes them.
struct FakeServices {
  FakeSettings settings;
  RecordingShell shell;
  FixedFolders folders;
  RecordingMessageBoxes messages;
  FixedClock clock;
  platform::Services services{settings, shell, folders, messages, clock};
};

}  // namespace qor::tests
