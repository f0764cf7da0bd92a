#include "standin/outlook/outlook_session.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "standin/office/command_bars_standin.h"

namespace qor::standin {
namespace {

com::ComPtr<WindowsObject> MakeWindows(const IID& iid, const IID& eventsIid) {
  return com::Make<WindowsObject>(iid, eventsIid);
}

}  // namespace

std::shared_ptr<OutlookSession> OutlookSession::Create(std::shared_ptr<host::memory::MemoryOutlook> outlook,
                                                       std::string versionText) {
  auto session = std::make_shared<OutlookSession>(std::move(outlook), std::move(versionText));
  // Outlook shows its first explorer before any add-in could listen.
  if (auto folder = session->outlook_->ActiveExplorerFolder()) session->OpenExplorer(std::move(folder), false);
  return session;
}

OutlookSession::OutlookSession(std::shared_ptr<host::memory::MemoryOutlook> outlook, std::string versionText)
    : outlook_(std::move(outlook)),
      versionText_(std::move(versionText)),
      majorVersion_(MajorVersionOf(versionText_)),
      nameSpace_(com::Make<NameSpaceObject>(outlook_->Session(), majorVersion_)),
      explorers_(MakeWindows(ids::kExplorers, ids::kExplorersEvents)),
      inspectors_(MakeWindows(ids::kInspectors, ids::kInspectorsEvents)) {}

OutlookSession::~OutlookSession() = default;

com::ComPtr<ExplorerObject> OutlookSession::ActiveExplorer() const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if (it->window->IsExplorer()) {
      com::ComPtr<ExplorerObject> explorer;
      explorer.CopyFrom(static_cast<ExplorerObject*>(it->window));
      return explorer;
    }
  }
  return nullptr;
}

com::ComPtr<InspectorObject> OutlookSession::ActiveInspector() const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if (!it->window->IsExplorer()) {
      com::ComPtr<InspectorObject> inspector;
      inspector.CopyFrom(static_cast<InspectorObject*>(it->window));
      return inspector;
    }
  }
  return nullptr;
}

com::ComPtr<IDispatch> OutlookSession::ActiveWindow() const {
  return zOrder_.empty() ? nullptr : zOrder_.back().object;
}

com::ComPtr<ExplorerObject> OutlookSession::OpenExplorer(std::shared_ptr<host::Folder> folder, bool announce) {
  auto explorer = com::Make<ExplorerObject>(weak_from_this(), nameSpace_, std::move(folder),
                                            office::CreateCommandBars(majorVersion_));
  explorers_->Add(explorer, announce);
  if (announce) {
    Activate(*explorer);
  } else {
    Track(*explorer);
    SyncExplorerFolder();
  }
  return explorer;
}

com::ComPtr<InspectorObject> OutlookSession::OpenInspector(std::shared_ptr<host::Item> item) {
  auto inspector =
      com::Make<InspectorObject>(weak_from_this(), std::move(item), office::CreateCommandBars(majorVersion_));
  inspectors_->Add(inspector, true);
  Activate(*inspector);
  return inspector;
}

void OutlookSession::Track(OutlookWindow& window) { zOrder_.push_back({window.WindowObject(), &window}); }

void OutlookSession::Activate(OutlookWindow& window) {
  if (window.IsClosed() || (!zOrder_.empty() && zOrder_.back().window == &window)) return;
  const std::optional<OpenWindow> previous = zOrder_.empty() ? std::nullopt : std::optional<OpenWindow>(zOrder_.back());
  const auto held =
      std::find_if(zOrder_.begin(), zOrder_.end(), [&](const auto& open) { return open.window == &window; });
  if (held != zOrder_.end()) zOrder_.erase(held);
  Track(window);
  if (window.IsExplorer()) SyncExplorerFolder();
  if (previous) previous->window->RaiseWindowEvent(ids::dispid::kDeactivate);
  window.RaiseWindowEvent(ids::dispid::kActivate);
}

void OutlookSession::Close(OutlookWindow& window) { CloseWindow(window, true); }

void OutlookSession::CloseWindow(OutlookWindow& window, bool activateNext) {
  const auto isThis = [&](const OpenWindow& open) { return open.window == &window; };
  if (window.IsClosed() || std::none_of(zOrder_.begin(), zOrder_.end(), isThis)) return;
  const com::ComPtr<IDispatch> object = window.WindowObject();
  const bool wasFront = zOrder_.back().window == &window;
  window.RaiseWindowEvent(ids::dispid::kClose);
  // A sink may have closed the window itself meanwhile.
  const auto held = std::find_if(zOrder_.begin(), zOrder_.end(), isThis);
  if (window.IsClosed() || held == zOrder_.end()) return;
  window.MarkClosed();
  zOrder_.erase(held);
  (window.IsExplorer() ? explorers_ : inspectors_)->Remove(object.Get());
  if (window.IsExplorer()) SyncExplorerFolder();
  if (activateNext && wasFront && !zOrder_.empty()) {
    const OpenWindow front = zOrder_.back();
    if (front.window->IsExplorer()) SyncExplorerFolder();
    front.window->RaiseWindowEvent(ids::dispid::kActivate);
  }
}

void OutlookSession::CloseAll() {
  // Item windows first, as Outlook closes them before its explorers when it shuts down.
  for (const bool explorers : {false, true}) {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend();) {
      if (it->window->IsExplorer() != explorers) {
        ++it;
        continue;
      }
      const OpenWindow open = *it;
      CloseWindow(*open.window, false);
      it = zOrder_.rbegin();
    }
  }
}

bool OutlookSession::SwitchFolder(ExplorerObject& explorer, std::shared_ptr<host::Folder> folder) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  explorer.Fire(ids::kExplorerEvents, ids::dispid::kBeforeFolderSwitch, explorer.MakeFolder(folder),
                com::Variant::ByRef(&cancel));
  if (cancel != VARIANT_FALSE || explorer.IsClosed()) return false;
  explorer.SetFolder(std::move(folder));
  if (ActiveExplorer().Get() == &explorer) SyncExplorerFolder();
  explorer.RaiseWindowEvent(ids::dispid::kFolderSwitch);
  return true;
}

bool OutlookSession::SwitchView(ExplorerObject& explorer, const std::string& view) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  explorer.Fire(ids::kExplorerEvents, ids::dispid::kBeforeViewSwitch, view, com::Variant::ByRef(&cancel));
  if (cancel != VARIANT_FALSE || explorer.IsClosed()) return false;
  explorer.RaiseWindowEvent(ids::dispid::kViewSwitch);
  return true;
}

OutlookWindow* OutlookSession::FindWindow(IDispatch* object) const noexcept {
  for (const auto& open : zOrder_)
    if (open.object.Get() == object) return open.window;
  return nullptr;
}

void OutlookSession::SyncExplorerFolder() {
  // The host-level ActiveExplorer, which the engine reads, follows the explorer in front.
  const auto explorer = ActiveExplorer();
  auto folder = explorer ? std::dynamic_pointer_cast<host::memory::MemoryFolder>(explorer->Folder()) : nullptr;
  outlook_->SetActiveExplorerFolder(std::move(folder));
}

int MajorVersionOf(const std::string& versionText) noexcept {
  int major = 0;
  for (const char c : versionText) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) break;
    major = major * 10 + (c - '0');
    if (major > 1000) return 0;
  }
  return major;
}

}  // namespace qor::standin
