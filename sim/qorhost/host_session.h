#pragma once

// One run of the stand-in Outlook as a script or a user drives it: Outlook starting and closing,
// the user's windows and the COM add-ins dialog, with the add-ins Outlook loads. Headless, the
// commands act on the stand-in directly; with windows, they act on the real windows, as a user
// would, and the windows act on the same stand-in objects.

#include <windows.h>

#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "addin_host.h"
#include "file_dialog_watch.h"
#include "host/memory/memory_outlook.h"
#include "message_box_watch.h"
#include "standin/outlook/outlook_driver.h"
#include "window_failures.h"
#include "wizard_remote.h"

namespace qor::tools::qorhost {

class FolderMenu;

// A command that cannot be carried out as written.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SessionMode {
  bool windows = false;  // Outlook's windows on the screen
  bool scripted = true;  // a script answers the dialogs add-ins show
};

class HostSession {
 public:
  HostSession(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out,
              SessionMode mode);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  bool Running() const noexcept { return static_cast<bool>(running_); }
  // Outlook starts; with windows, the explorer shows once the add-ins have loaded, and an
  // `explorer shown ms=N` line tells how long that took.
  void Start();
  // Outlook closes: with windows, as when the user closes the explorer.
  void Quit();
  void OpenInspector(const std::string& entryId);
  void CloseInspector();
  void NewExplorer(const std::string& path);
  // With windows: the user clicks the folder in the tree.
  void SwitchFolder(const std::string& path);
  // The user ticks or clears the add-in in the COM add-ins dialog.
  void Connect(const std::string& progId);
  void Disconnect(const std::string& progId);
  void PrintRegistry(const std::string& progId);
  void AnswerMessage(const std::string& button);
  // What Outlook's folder picker returns next: the folder at `path`, or nothing for "cancel".
  void AnswerFolder(const std::string& path);
  // The name the next file dialog gets; scripted windows only.
  void AnswerFile(const std::string& file);
  // A picture of the windows on the screen now, or with `message` of the next message box.
  void Screenshot(const std::string& file, bool ofNextMessage);

  // With windows: Outlook's Options dialog with the control of `progId` as its page
  // (`options-page PROGID`, or `options-failed PROGID: ...`); closing it with OK applies the page
  // (`options-applied hr=0x... dirty=true|false status-changes=N`).
  void ShowOptions(const std::string& progId);
  void CloseOptions();

  // The user right-clicks a folder in the explorer: the menu opens with this version's events and
  // prints what it shows, a `menu` line per entry, then, while counting, `calls N`: the calls the
  // add-ins made on Outlook's and Office's objects meanwhile. With windows the command returns
  // once the real menu has closed; meanwhile the script's next lines run (see MenuWaiting).
  void RightClick(const std::string& path);
  void CountCalls(bool on) noexcept { countCalls_ = on; }
  // The user clicks the open menu's entry "A > B"; the menu closes.
  void Choose(const std::string& path);
  // The user dismisses the open menu.
  void CloseMenu();
  // A real menu is on the screen, waiting for the user's next key.
  bool MenuWaiting() const noexcept { return shownMenu_ != nullptr && !menuAnswered_; }
  // A wizard command (click, type, select, tab, show) on the wizard an add-in shows.
  void RunWizardCommand(const std::string& line);

  // For a user's message loop: carries out a close the user asked for, and rethrows what a window
  // failed to do for the user.
  void AfterUserMessage();
  // The dialog the user's keys go to, if one is open.
  HWND OpenDialog() const noexcept;

 private:
  struct Outlook;
  Outlook& Started();
  standin::OutlookDriver& MenuOpen();
  std::shared_ptr<host::memory::MemoryFolder> FolderAt(const std::string& path) const;
  void CloseOutlook();
  void ToggleAddin(const std::string& progId, bool connect);
  void OpenAddinsDialog();
  void ApplyAddinChanges(const std::vector<ListedAddin>& changed);
  bool SwitchTo(const std::shared_ptr<host::memory::MemoryFolder>& folder);
  void ShowInspector(const std::string& entryId);
  void ShowFolderMenu(const std::shared_ptr<host::memory::MemoryFolder>& folder, POINT screen);
  // Opens the stand-in's menu on the folder and prints it; false when nothing stayed open.
  bool OpenMenuOn(const std::shared_ptr<host::memory::MemoryFolder>& folder);
  void ChooseEntry(const std::vector<std::string>& path);

  std::shared_ptr<host::memory::MemoryOutlook> mailbox_;
  int majorVersion_;
  std::ostream& out_;
  SessionMode mode_;
  std::optional<MessageBoxWatch> messageBoxes_;
  std::optional<FileDialogWatch> files_;
  WindowFailures windowFailures_;
  WizardRemote wizard_;
  bool countCalls_ = false;
  FolderMenu* shownMenu_ = nullptr;
  bool menuAnswered_ = false;
  bool closeRequested_ = false;
  std::unique_ptr<Outlook> running_;
};

}  // namespace qor::tools::qorhost
