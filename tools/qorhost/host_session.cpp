#include "host_session.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "addin_registry.h"
#include "engine/folder_path.h"
#include "host/host_error.h"
#include "host_output.h"
#include "script_text.h"
#include "standin/office/counted_dispatch.h"

namespace qor::tools::qorhost {

// Destroyed add-ins first: they hold Outlook's objects.
struct HostSession::Outlook {
  Outlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out)
      : driver(std::move(mailbox), majorVersion), addins(driver, out) {}

  standin::OutlookDriver driver;
  AddinHost addins;
};

HostSession::HostSession(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out)
    : mailbox_(std::move(mailbox)),
      majorVersion_(majorVersion),
      out_(out),
      messageBoxes_(out),
      wizard_(*mailbox_, out) {}

HostSession::~HostSession() = default;

HostSession::Outlook& HostSession::Started() {
  if (!running_) throw ScriptError("Outlook is not running: `start` it first");
  return *running_;
}

std::shared_ptr<host::memory::MemoryFolder> HostSession::FolderAt(const std::string& path) const {
  std::shared_ptr<host::Folder> folder;
  try {
    folder = engine::GetMapiFolder(*mailbox_, path);
  } catch (const host::HostError&) {
  }
  auto found = std::dynamic_pointer_cast<host::memory::MemoryFolder>(folder);
  if (!found) throw ScriptError("the mailbox has no folder \"" + path + "\"");
  return found;
}

void HostSession::Start() {
  if (running_) throw ScriptError("Outlook is running already");
  running_ = std::make_unique<Outlook>(mailbox_, majorVersion_, out_);
  running_->addins.Start();
}

void HostSession::Quit() {
  Outlook& outlook = Started();
  out_ << "quit\n";
  // Outlook opens its next session on the folder it closed on.
  const auto lastFolder = mailbox_->ActiveExplorerFolder();
  outlook.driver.Quit();
  outlook.addins.Shutdown();
  running_.reset();
  mailbox_->SetActiveExplorerFolder(lastFolder);
}

void HostSession::OpenInspector(const std::string& entryId) {
  Outlook& outlook = Started();
  std::shared_ptr<host::memory::MemoryItem> item;
  for (const auto& store : mailbox_->Stores()) {
    if ((item = store->FindItem(entryId))) break;
  }
  if (!item) throw ScriptError("the mailbox has no item " + entryId);
  outlook.driver.OpenInspector(item);
  outlook.addins.InspectorOpened(*item);
}

void HostSession::CloseInspector() {
  Outlook& outlook = Started();
  const auto inspector = outlook.driver.ActiveInspector();
  if (!inspector) throw ScriptError("no inspector is open");
  outlook.driver.Close(*inspector);
}

void HostSession::NewExplorer(const std::string& path) { Started().driver.OpenExplorer(FolderAt(path)); }

void HostSession::SwitchFolder(const std::string& path) {
  Outlook& outlook = Started();
  const auto explorer = outlook.driver.ActiveExplorer();
  if (!explorer) throw ScriptError("no explorer is open");
  if (!outlook.driver.SwitchFolder(*explorer, FolderAt(path))) out_ << "switch-cancelled " << path << '\n';
}

void HostSession::Connect(const std::string& progId) {
  if (!Started().addins.Connect(progId))
    out_ << "connect-failed " << progId << ": not registered as an Outlook add-in\n";
}

void HostSession::Disconnect(const std::string& progId) {
  if (!Started().addins.Disconnect(progId)) out_ << "disconnect-failed " << progId << ": not connected\n";
}

void HostSession::PrintRegistry(const std::string& progId) {
  if (!PrintAddinKey(progId, out_)) out_ << "registry " << progId << " absent\n";
}

void HostSession::AnswerMessage(const std::string& button) {
  const auto id = ButtonId(button);
  if (!id) throw ScriptError("unknown message button \"" + button + "\" (ok, cancel, yes, no, retry, ignore, abort)");
  messageBoxes_.QueueAnswer(*id);
}

void HostSession::AnswerFolder(const std::string& path) {
  mailbox_->QueuePickFolder(path == "cancel" ? nullptr : FolderAt(path));
}

standin::OutlookDriver& HostSession::MenuOpen() {
  standin::OutlookDriver& driver = Started().driver;
  if (!driver.ContextMenuOpen()) throw ScriptError("no menu is open: `right-click` a folder first");
  return driver;
}

void HostSession::RightClick(const std::string& path) {
  standin::OutlookDriver& driver = Started().driver;
  if (!driver.ActiveExplorer()) throw ScriptError("no explorer is open");
  const auto folder = FolderAt(path);
  const long long callsBefore = standin::office::StandinCallCount();
  driver.RightClickFolder(folder);
  const long long calls = standin::office::StandinCallCount() - callsBefore;
  // A nested command may have closed it meanwhile.
  if (driver.ContextMenuOpen()) {
    for (const auto& entry : driver.ContextMenuEntries())
      out_ << "menu " << standin::JoinedPath(entry.path) << (entry.enabled ? "" : " (disabled)") << '\n';
  }
  if (countCalls_) out_ << "calls " << calls << '\n';
}

void HostSession::Choose(const std::string& path) {
  std::vector<std::string> captions;
  for (std::size_t start = 0; start <= path.size();) {
    const auto end = std::min(path.find('>', start), path.size());
    captions.push_back(Trimmed(path.substr(start, end - start)));
    start = end + 1;
  }
  standin::OutlookDriver& driver = MenuOpen();
  standin::MenuChoice choice;
  try {
    choice = driver.ChooseContextMenuEntry(captions);
  } catch (const std::invalid_argument& error) {
    throw ScriptError(error.what());
  }
  const std::string shown = standin::JoinedPath(captions);
  if (!choice.taken) {
    out_ << "disabled " << shown << '\n';
  } else if (choice.action) {
    out_ << "action " << choice.action->owner << ' ' << choice.action->callback
         << " hr=" << HresultText(choice.action->result) << '\n';
  } else {
    out_ << "click " << shown << " sinks=" << choice.click.sinksCalled;
    if (!choice.click.failures.empty()) out_ << " failures=" << choice.click.failures.size();
    out_ << '\n';
  }
}

void HostSession::CloseMenu() { MenuOpen().CloseContextMenu(); }

void HostSession::RunWizardCommand(const std::string& line) { wizard_.Run(line); }

}  // namespace qor::tools::qorhost
