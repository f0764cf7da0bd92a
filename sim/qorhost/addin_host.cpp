#include "addin_host.h"

#include <algorithm>

#include "com/com_error.h"
#include "com/dispatch_table.h"
#include "com/guid_text.h"
#include "com/utf.h"
#include "custom_ui.h"
#include "host_output.h"

namespace qor::tools::qorhost {
namespace {

constexpr DWORD kLoadAtStartup = 3;
constexpr DWORD kNotLoaded = 2;
constexpr int kRibbonVersion = 12;
constexpr int kExplorerRibbonVersion = 14;
constexpr int kFastShutdownVersion = 14;

bool SameProgId(const std::string& left, const std::string& right) {
  return com::DispatchNamesEqual(com::ToUtf16(left), com::ToUtf16(right));
}

std::string ClassIdText(const std::string& progId) {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(com::ToUtf16(progId).c_str(), &clsid))) return {};
  return com::ToUtf8(com::GuidText(clsid));
}

}  // namespace

AddinHost::AddinHost(standin::OutlookDriver& driver, std::ostream& out)
    : driver_(driver), out_(out), entries_(com::Make<standin::office::ComAddInsObject>(driver.Application())) {}

AddinHost::~AddinHost() { ReleaseAll(); }

void AddinHost::ReleaseAll() noexcept {
  for (const auto& loaded : loaded_) driver_.RemoveExplorerCustomUi(loaded->ProgId());
  loaded_.clear();
  entries_->Clear();
  CoFreeUnusedLibraries();
}

void AddinHost::RefreshRegistrations() {
  registrations_ = ReadAddinRegistrations();
  for (const auto& addin : registrations_) {
    if (!entries_->Find(addin.progId)) entries_->Add(addin.progId, ClassIdText(addin.progId), addin.friendlyName);
  }
}

const AddinRegistration* AddinHost::Registration(const std::string& progId) const {
  const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                  [&](const AddinRegistration& addin) { return SameProgId(addin.progId, progId); });
  return found == registrations_.end() ? nullptr : &*found;
}

std::vector<std::unique_ptr<LoadedAddin>>::iterator AddinHost::FindLoaded(const std::string& progId) {
  return std::find_if(loaded_.begin(), loaded_.end(),
                      [&](const auto& loaded) { return SameProgId(loaded->ProgId(), progId); });
}

std::unique_ptr<LoadedAddin> AddinHost::Load(const AddinRegistration& addin, ext_ConnectMode mode) {
  std::unique_ptr<LoadedAddin> loaded;
  try {
    loaded = std::make_unique<LoadedAddin>(addin.progId, entries_->Find(addin.progId), out_);
  } catch (const com::ComError& error) {
    out_ << "load-failed " << addin.progId << " hr=" << HresultText(error.Code()) << '\n';
    return nullptr;
  }
  if (FAILED(loaded->Connect(*driver_.Application().Get(), mode))) return nullptr;
  if (driver_.MajorVersion() >= kExplorerRibbonVersion) {
    // The explorer's document also carries the add-in's context-menu entries.
    if (auto document = loaded->LoadRibbon(kExplorerRibbon))
      driver_.SetExplorerCustomUi({addin.progId, loaded->Callbacks(), std::move(*document)});
  }
  return loaded;
}

void AddinHost::Start() {
  RefreshRegistrations();
  for (const auto& addin : registrations_) {
    if (addin.loadBehavior != kLoadAtStartup) continue;
    if (auto loaded = Load(addin, ext_cm_Startup)) loaded_.push_back(std::move(loaded));
  }
  for (const auto& loaded : loaded_) {
    loaded->StartupComplete();
    out_ << "loaded " << loaded->ProgId() << " ms=" << loaded->Milliseconds() << '\n';
  }
}

void AddinHost::InspectorOpened(const host::Item& item) {
  if (driver_.MajorVersion() < kRibbonVersion) return;
  const std::string ribbon = InspectorRibbon(item);
  if (ribbon.empty()) return;
  for (const auto& loaded : loaded_) loaded->LoadRibbon(ribbon);
}

bool AddinHost::Connect(const std::string& progId) {
  RefreshRegistrations();
  const AddinRegistration* addin = Registration(progId);
  if (addin == nullptr) return false;
  if (FindLoaded(progId) != loaded_.end()) return true;
  WriteLoadBehavior(*addin, kLoadAtStartup);
  if (auto loaded = Load(*addin, ext_cm_AfterStartup)) loaded_.push_back(std::move(loaded));
  return true;
}

bool AddinHost::Disconnect(const std::string& progId) {
  const auto found = FindLoaded(progId);
  if (found == loaded_.end()) return false;
  (*found)->Disconnect(ext_dm_UserClosed);
  driver_.RemoveExplorerCustomUi((*found)->ProgId());
  loaded_.erase(found);
  CoFreeUnusedLibraries();
  RefreshRegistrations();
  if (const AddinRegistration* addin = Registration(progId)) WriteLoadBehavior(*addin, kNotLoaded);
  return true;
}

std::vector<ListedAddin> AddinHost::Listed() {
  RefreshRegistrations();
  std::vector<ListedAddin> listed;
  for (const auto& addin : registrations_) {
    listed.push_back({addin.progId, addin.friendlyName.empty() ? addin.progId : addin.friendlyName,
                      FindLoaded(addin.progId) != loaded_.end()});
  }
  return listed;
}

void AddinHost::Shutdown() {
  const bool fastForAll =
      driver_.MajorVersion() >= kFastShutdownVersion && !FastShutdownDisabled(driver_.MajorVersion());
  RefreshRegistrations();
  std::vector<LoadedAddin*> notified;
  for (const auto& loaded : loaded_) {
    const AddinRegistration* addin = Registration(loaded->ProgId());
    if (fastForAll && !(addin != nullptr && addin->requireShutdownNotification)) {
      out_ << "fast-shutdown " << loaded->ProgId() << '\n';
    } else {
      loaded->BeginShutdown();
      notified.push_back(loaded.get());
    }
  }
  for (LoadedAddin* loaded : notified) loaded->Disconnect(ext_dm_HostShutdown);
  ReleaseAll();
}

}  // namespace qor::tools::qorhost
