#pragma once

// One run of the stand-in Outlook as a script drives it: Outlook starting and closing, the user's
// windows and the COM add-ins dialog, with the add-ins Outlook loads.

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "addin_host.h"
#include "host/memory/memory_outlook.h"
#include "message_box_watch.h"
#include "standin/outlook/outlook_driver.h"

namespace qor::tools::qorhost {

// A command that cannot be carried out as written.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HostSession {
 public:
  HostSession(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  bool Running() const noexcept { return static_cast<bool>(running_); }
  void Start();
  void Quit();
  void OpenInspector(const std::string& entryId);
  void CloseInspector();
  void NewExplorer(const std::string& path);
  void SwitchFolder(const std::string& path);
  void Connect(const std::string& progId);
  void Disconnect(const std::string& progId);
  void PrintRegistry(const std::string& progId);
  void AnswerMessage(const std::string& button);

 private:
  struct Outlook;
  Outlook& Started();
  std::shared_ptr<host::memory::MemoryFolder> FolderAt(const std::string& path) const;

  std::shared_ptr<host::memory::MemoryOutlook> mailbox_;
  int majorVersion_;
  std::ostream& out_;
  MessageBoxWatch messageBoxes_;
  std::unique_ptr<Outlook> running_;
};

}  // namespace qor::tools::qorhost
