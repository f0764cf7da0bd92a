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
#include "wizard_remote.h"

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
  // What Outlook's folder picker returns next: the folder at `path`, or nothing for "cancel".
  void AnswerFolder(const std::string& path);

  // The user right-clicks a folder in the explorer: the menu opens with this version's events and
  // prints what it shows, a `menu` line per entry, then, while counting, `calls N`: the calls the
  // add-ins made on Outlook's and Office's objects meanwhile.
  void RightClick(const std::string& path);
  void CountCalls(bool on) noexcept { countCalls_ = on; }
  // The user clicks the open menu's entry "A > B"; the menu closes.
  void Choose(const std::string& path);
  // The user dismisses the open menu.
  void CloseMenu();
  // A wizard command (click, type, select, tab, show) on the wizard an add-in shows.
  void RunWizardCommand(const std::string& line);

 private:
  struct Outlook;
  Outlook& Started();
  standin::OutlookDriver& MenuOpen();
  std::shared_ptr<host::memory::MemoryFolder> FolderAt(const std::string& path) const;

  std::shared_ptr<host::memory::MemoryOutlook> mailbox_;
  int majorVersion_;
  std::ostream& out_;
  MessageBoxWatch messageBoxes_;
  WizardRemote wizard_;
  bool countCalls_ = false;
  std::unique_ptr<Outlook> running_;
};

}  // namespace qor::tools::qorhost
