#include "host_session.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "addin_registry.h"
#include "addins_dialog.h"
#include "com/com_error.h"
#include "engine/folder_path.h"
#include "explorer_window.h"
#include "folder_menu.h"
#include "folder_picker.h"
#include "host/host_error.h"
#include "host_output.h"
#include "inspector_window.h"
#include "options_page_window.h"
#include "screen_picture.h"
#include "script_text.h"
#include "standin/office/counted_dispatch.h"

namespace qor::tools::qorhost {
namespace {

std::vector<std::string> MenuPath(const std::string& text) {
  std::vector<std::string> captions;
  for (std::size_t start = 0; start <= text.size();) {
    const auto end = std::min(text.find('>', start), text.size());
    captions.push_back(Trimmed(text.substr(start, end - start)));
    start = end + 1;
  }
  return captions;
}

void PressKey(HWND window, WORD key) { PostMessageW(window, WM_KEYDOWN, key, 1); }

}  // namespace

// Destroyed windows first, then add-ins: they hold Outlook's objects.
struct HostSession::Outlook {
  Outlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out)
      : driver(std::move(mailbox), majorVersion), addins(driver, out) {}

  standin::OutlookDriver driver;
  AddinHost addins;
  std::unique_ptr<ExplorerWindow> explorer;
  std::vector<std::pair<com::ComPtr<IDispatch>, std::unique_ptr<InspectorWindow>>> inspectors;
  std::unique_ptr<AddinsDialog> addinsDialog;
  std::unique_ptr<OptionsPageWindow> options;
};

HostSession::HostSession(std::shared_ptr<host::memory::MemoryOutlook> mailbox, int majorVersion, std::ostream& out,
                         SessionMode mode)
    : mailbox_(std::move(mailbox)), majorVersion_(majorVersion), out_(out), mode_(mode), wizard_(*mailbox_, out) {
  // Outlook is DPI-aware: its windows, and the add-ins', are laid out for the system's DPI.
  if (mode_.windows) SetProcessDPIAware();
  if (mode_.scripted) {
    messageBoxes_.emplace(out);
    if (mode_.windows) files_.emplace();
  } else {
    // The user answers Outlook's folder picker over whatever window is in front.
    mailbox_->SetFolderPicker([this] { return PickFolderDialog(GetActiveWindow(), *mailbox_); });
  }
}

HostSession::~HostSession() { mailbox_->SetFolderPicker(nullptr); }

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
  const auto started = std::chrono::steady_clock::now();
  running_ = std::make_unique<Outlook>(mailbox_, majorVersion_, out_);
  Outlook& outlook = *running_;
  if (mode_.windows) {
    outlook.explorer = std::make_unique<ExplorerWindow>(
        *mailbox_, mailbox_->ActiveExplorerFolder(),
        ExplorerWindow::Handlers{[this](const auto& folder) { return SwitchTo(folder); },
                                 [this](const auto& folder, POINT screen) { ShowFolderMenu(folder, screen); },
                                 [this](const std::string& entryId) { ShowInspector(entryId); },
                                 [this] { OpenAddinsDialog(); }, [this] { closeRequested_ = true; }},
        windowFailures_);
  }
  outlook.addins.Start();
  if (outlook.explorer) {
    outlook.explorer->Show();
    const auto shown =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    out_ << "explorer shown ms=" << shown.count() << '\n';
  }
}

void HostSession::Quit() {
  Outlook& outlook = Started();
  if (!outlook.explorer) return CloseOutlook();
  if (MenuWaiting()) throw ScriptError("a menu is open: `choose` an entry or `close-menu` first");
  if (!IsWindowEnabled(outlook.explorer->Handle()))
    throw ScriptError("Outlook's window takes no clicks now: a dialog is open over it");
  closeRequested_ = false;
  SendMessageW(outlook.explorer->Handle(), WM_CLOSE, 0, 0);
  windowFailures_.Rethrow();
  if (!closeRequested_) throw ScriptError("Outlook's window did not close");
  CloseOutlook();
}

void HostSession::CloseOutlook() {
  Outlook& outlook = Started();
  closeRequested_ = false;
  out_ << "quit\n";
  // Outlook opens its next session on the folder it closed on.
  const auto lastFolder = mailbox_->ActiveExplorerFolder();
  outlook.addinsDialog.reset();
  outlook.options.reset();
  outlook.driver.Quit();
  outlook.addins.Shutdown();
  running_.reset();
  mailbox_->SetActiveExplorerFolder(lastFolder);
}

void HostSession::AfterUserMessage() {
  if (closeRequested_ && running_) CloseOutlook();
  windowFailures_.Rethrow();
}

HWND HostSession::OpenDialog() const noexcept {
  if (!running_ || !running_->addinsDialog || !running_->addinsDialog->Open()) return nullptr;
  return running_->addinsDialog->Handle();
}

void HostSession::OpenInspector(const std::string& entryId) {
  Started();
  ShowInspector(entryId);
}

void HostSession::ShowInspector(const std::string& entryId) {
  Outlook& outlook = Started();
  std::shared_ptr<host::memory::MemoryItem> item;
  for (const auto& store : mailbox_->Stores()) {
    if ((item = store->FindItem(entryId))) break;
  }
  if (!item) throw ScriptError("the mailbox has no item " + entryId);
  const auto inspector = outlook.driver.OpenInspector(item);
  outlook.addins.InspectorOpened(*item);
  if (!outlook.explorer) return;
  auto window = std::make_unique<InspectorWindow>(
      *item, outlook.explorer->Handle(),
      [this, inspector] {
        Outlook& running = Started();
        running.driver.Close(*inspector);
        std::erase_if(running.inspectors, [&](const auto& open) { return open.first == inspector; });
      },
      windowFailures_);
  outlook.inspectors.emplace_back(inspector, std::move(window));
}

void HostSession::CloseInspector() {
  Outlook& outlook = Started();
  const auto inspector = outlook.driver.ActiveInspector();
  if (!inspector) throw ScriptError("no inspector is open");
  const auto shown = std::find_if(outlook.inspectors.begin(), outlook.inspectors.end(),
                                  [&](const auto& open) { return open.first == inspector; });
  if (shown == outlook.inspectors.end()) return outlook.driver.Close(*inspector);
  SendMessageW(shown->second->Handle(), WM_CLOSE, 0, 0);
  windowFailures_.Rethrow();
}

void HostSession::NewExplorer(const std::string& path) { Started().driver.OpenExplorer(FolderAt(path)); }

void HostSession::SwitchFolder(const std::string& path) {
  Outlook& outlook = Started();
  const auto folder = FolderAt(path);
  if (outlook.explorer) {
    if (!outlook.explorer->ClickFolder(*folder))
      throw ScriptError("Outlook's window takes no clicks now: a dialog is open over it");
    return;
  }
  SwitchTo(folder);
}

bool HostSession::SwitchTo(const std::shared_ptr<host::memory::MemoryFolder>& folder) {
  Outlook& outlook = Started();
  const auto explorer = outlook.driver.ActiveExplorer();
  if (!explorer) throw ScriptError("no explorer is open");
  if (outlook.driver.SwitchFolder(*explorer, folder)) return true;
  out_ << "switch-cancelled " << engine::GetFullFolderName(folder) << '\n';
  return false;
}

void HostSession::Connect(const std::string& progId) { ToggleAddin(progId, true); }

void HostSession::Disconnect(const std::string& progId) { ToggleAddin(progId, false); }

void HostSession::ToggleAddin(const std::string& progId, bool connect) {
  Outlook& outlook = Started();
  if (!outlook.explorer) {
    if (connect && !outlook.addins.Connect(progId))
      out_ << "connect-failed " << progId << ": not registered as an Outlook add-in\n";
    if (!connect && !outlook.addins.Disconnect(progId)) out_ << "disconnect-failed " << progId << ": not connected\n";
    return;
  }
  const auto listed = outlook.addins.Listed();
  const auto entry = std::find_if(listed.begin(), listed.end(), [&](const ListedAddin& addin) {
    return lstrcmpiA(addin.progId.c_str(), progId.c_str()) == 0;
  });
  // The user opens the dialog from the Tools menu, ticks or clears the box and presses OK.
  SendMessageW(outlook.explorer->Handle(), WM_COMMAND, MAKEWPARAM(ExplorerWindow::kAddinsCommand, 0), 0);
  windowFailures_.Rethrow();
  AddinsDialog* dialog = outlook.addinsDialog.get();
  if (dialog == nullptr || !dialog->Open()) throw ScriptError("the COM Add-Ins dialog did not open");
  if (!dialog->Tick(progId, connect)) {
    dialog->Press(IDCANCEL);
    windowFailures_.Rethrow();
    out_ << "connect-failed " << progId << ": not registered as an Outlook add-in\n";
    return;
  }
  dialog->Press(IDOK);
  windowFailures_.Rethrow();
  if (!connect && entry != listed.end() && !entry->connected)
    out_ << "disconnect-failed " << progId << ": not connected\n";
}

void HostSession::OpenAddinsDialog() {
  Outlook& outlook = Started();
  outlook.addinsDialog = std::make_unique<AddinsDialog>(
      outlook.explorer->Handle(), outlook.addins.Listed(), [this](const auto& changed) { ApplyAddinChanges(changed); },
      windowFailures_);
}

void HostSession::ApplyAddinChanges(const std::vector<ListedAddin>& changed) {
  Outlook& outlook = Started();
  for (const ListedAddin& addin : changed) {
    addin.connected ? outlook.addins.Connect(addin.progId) : outlook.addins.Disconnect(addin.progId);
  }
}

void HostSession::PrintRegistry(const std::string& progId) {
  if (!PrintAddinKey(progId, out_)) out_ << "registry " << progId << " absent\n";
}

void HostSession::AnswerMessage(const std::string& button) {
  const auto id = ButtonId(button);
  if (!id) throw ScriptError("unknown message button \"" + button + "\" (ok, cancel, yes, no, retry, ignore, abort)");
  if (messageBoxes_) messageBoxes_->QueueAnswer(*id);
}

void HostSession::AnswerFolder(const std::string& path) {
  mailbox_->QueuePickFolder(path == "cancel" ? nullptr : FolderAt(path));
}

void HostSession::AnswerFile(const std::string& file) {
  if (!files_) throw ScriptError("file dialogs show only with --window");
  files_->QueueAnswer(file);
}

void HostSession::Screenshot(const std::string& file, bool ofNextMessage) {
  if (!mode_.windows) throw ScriptError("screenshots need --window");
  if (!ofNextMessage) return PictureOwnWindows(file);
  if (messageBoxes_) messageBoxes_->QueuePicture(file);
}

standin::OutlookDriver& HostSession::MenuOpen() {
  standin::OutlookDriver& driver = Started().driver;
  if (!driver.ContextMenuOpen() || (shownMenu_ != nullptr && menuAnswered_))
    throw ScriptError("no menu is open: `right-click` a folder first");
  return driver;
}

bool HostSession::OpenMenuOn(const std::shared_ptr<host::memory::MemoryFolder>& folder) {
  standin::OutlookDriver& driver = Started().driver;
  if (!driver.ActiveExplorer()) throw ScriptError("no explorer is open");
  const long long callsBefore = standin::office::StandinCallCount();
  driver.RightClickFolder(folder);
  const long long calls = standin::office::StandinCallCount() - callsBefore;
  // A nested command may have closed it meanwhile.
  const bool open = driver.ContextMenuOpen();
  if (open) {
    for (const auto& entry : driver.ContextMenuEntries())
      out_ << "menu " << standin::JoinedPath(entry.path) << (entry.enabled ? "" : " (disabled)") << '\n';
  }
  if (countCalls_) out_ << "calls " << calls << '\n';
  return open;
}

void HostSession::RightClick(const std::string& path) {
  Outlook& outlook = Started();
  const auto folder = FolderAt(path);
  if (!outlook.explorer) {
    OpenMenuOn(folder);
    return;
  }
  if (MenuWaiting()) throw ScriptError("a menu is open: `choose` an entry or `close-menu` first");
  if (!outlook.explorer->RightClickFolder(*folder))
    throw ScriptError("Outlook's window takes no clicks now: a dialog is open over it");
}

// The user's right-click in the explorer's tree: the real menu, tracked until the user chooses.
void HostSession::ShowFolderMenu(const std::shared_ptr<host::memory::MemoryFolder>& folder, POINT screen) {
  Outlook& outlook = Started();
  if (!OpenMenuOn(folder)) return;
  FolderMenu menu(outlook.driver.ContextMenuEntries());
  shownMenu_ = &menu;
  menuAnswered_ = false;
  std::optional<std::vector<std::string>> chosen;
  try {
    chosen = menu.Track(outlook.explorer->Handle(), screen);
  } catch (...) {
    shownMenu_ = nullptr;
    throw;
  }
  shownMenu_ = nullptr;
  if (!running_) return;  // Outlook closed meanwhile
  if (!chosen) return outlook.driver.CloseContextMenu();
  ChooseEntry(*chosen);
  if (running_ && outlook.explorer) outlook.explorer->RefreshItems();
}

void HostSession::Choose(const std::string& path) {
  const std::vector<std::string> captions = MenuPath(path);
  MenuOpen();
  if (shownMenu_ == nullptr) return ChooseEntry(captions);
  std::vector<WORD> keys;
  try {
    keys = shownMenu_->KeysFor(captions);
  } catch (const std::invalid_argument& error) {
    throw ScriptError(error.what());
  }
  // A greyed entry takes no click: the menu stays open.
  if (!shownMenu_->Enabled(captions)) {
    out_ << "disabled " << standin::JoinedPath(captions) << '\n';
    return;
  }
  menuAnswered_ = true;
  for (const WORD key : keys) PressKey(running_->explorer->Handle(), key);
}

void HostSession::ChooseEntry(const std::vector<std::string>& path) {
  standin::MenuChoice choice;
  try {
    choice = Started().driver.ChooseContextMenuEntry(path);
  } catch (const std::invalid_argument& error) {
    throw ScriptError(error.what());
  }
  const std::string shown = standin::JoinedPath(path);
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

void HostSession::CloseMenu() {
  standin::OutlookDriver& driver = MenuOpen();
  if (shownMenu_ == nullptr) return driver.CloseContextMenu();
  menuAnswered_ = true;
  PressKey(running_->explorer->Handle(), VK_ESCAPE);
}

void HostSession::ShowOptions(const std::string& progId) {
  Outlook& outlook = Started();
  if (!outlook.explorer) throw ScriptError("the Options dialog shows only with --window");
  if (outlook.options) throw ScriptError("the Options dialog is open already");
  try {
    outlook.options =
        std::make_unique<OptionsPageWindow>(progId, outlook.driver.Application(), outlook.explorer->Handle());
  } catch (const com::ComError& error) {
    out_ << "options-failed " << progId << ": " << error.what() << " hr=" << HresultText(error.Code()) << '\n';
    return;
  }
  out_ << "options-page " << progId << '\n';
}

void HostSession::CloseOptions() {
  Outlook& outlook = Started();
  if (!outlook.options) throw ScriptError("the Options dialog is not open");
  bool dirty = false;
  const HRESULT applied = outlook.options->Apply(dirty);
  out_ << "options-applied hr=" << HresultText(applied) << " dirty=" << (dirty ? "true" : "false")
       << " status-changes=" << outlook.options->StatusChanges() << '\n';
  outlook.options.reset();
}

void HostSession::RunWizardCommand(const std::string& line) { wizard_.Run(line); }

}  // namespace qor::tools::qorhost
