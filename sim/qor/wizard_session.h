#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "host/memory/memory_outlook.h"
#include "outlook_source.h"
#include "platform/system_services.h"

namespace qor::tools {

// A request the wizard cannot carry out as asked: an option whose control it keeps disabled, a
// folder the mailbox does not have.
class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What `qor wizard` and `qor run` open a wizard on: a mailbox file served as Outlook (through COM
// with --com), its application folder and this platform's services.
class WizardSession {
 public:
  // The explorer shows the folder at `explorerFolder`; by default the mailbox must name one.
  WizardSession(const std::string& mailbox, const std::optional<std::string>& explorerFolder,
                const std::optional<std::string>& appFolder, bool overCom);

  host::Application& Outlook() { return source_->Application(); }
  const std::string& AppFolder() const noexcept { return appFolder_; }
  platform::Services& Services() { return system_->Get(); }

  // What Outlook's folder picker returns next: the folder at `path`, or a cancel.
  void AnswerPickFolder(const std::optional<std::string>& path);
  // Writes the mailbox as it stands.
  void Save(const std::string& file) const;

 private:
  std::shared_ptr<host::memory::MemoryFolder> Folder(const std::string& path);

  std::shared_ptr<host::memory::MemoryOutlook> mailbox_;
  std::unique_ptr<EngineOutlook> source_;
  std::string appFolder_;
  std::unique_ptr<platform::SystemServices> system_;
};

}  // namespace qor::tools
