#include "framework/outlook_windows.h"

#include <oleidl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/boundary.h"
#include "com/dispatch_call.h"
#include "framework/addin_module.h"
#include "framework/command_bar_search.h"
#include "framework/command_bars_event_sink.h"
#include "framework/event_connection.h"
#include "framework/outlook_application.h"
#include "host/automation/outlook_ids.h"
#include "host/office/office_ids.h"

namespace qor::framework {

namespace {

namespace ids = host::outlook_ids;
namespace dispid = host::outlook_ids::dispid;

constexpr int kMailItemClass = 43;  // olMail
constexpr int kNoteItemClass = 44;  // olNote: a note window has no command bars of its own

// Activations do not nest: whatever a window's activation sets off (another window's Activate
// raised from a handler) is ignored until it is done. One flag for explorers and inspectors.
class ActivationGuard {
 public:
  explicit ActivationGuard(bool& activating) noexcept : activating_(activating), entered_(!activating) {
    activating_ = true;
  }
  ~ActivationGuard() {
    if (entered_) activating_ = false;
  }
  ActivationGuard(const ActivationGuard&) = delete;
  ActivationGuard& operator=(const ActivationGuard&) = delete;
  explicit operator bool() const noexcept { return entered_; }

 private:
  bool& activating_;
  bool entered_;
};

// Outlook 2000, 2007 and 2010 need no OnUpdate: their context menus come another way or not at all.
bool UsesUpdateSink(int majorVersion) noexcept { return majorVersion != 9 && majorVersion != 12 && majorVersion != 14; }

// An object-valued property; null when the object lacks it or refuses.
com::ComPtr<IDispatch> ObjectProperty(const com::ComPtr<IDispatch>& object, std::string_view name) noexcept {
  return com::PassingOver("OutlookWindowTracking.ObjectProperty", com::ComPtr<IDispatch>(), [&] {
    return object ? com::Dispatch(object).Get(name).ToDispatch() : nullptr;
  });
}

// The window's handle through IOleWindow; 0 when the object offers none.
HWND WindowHandle(const com::ComPtr<IDispatch>& window) noexcept {
  com::ComPtr<IOleWindow> oleWindow;
  HWND handle = nullptr;
  if (window && SUCCEEDED(window->QueryInterface(__uuidof(IOleWindow), oleWindow.PutVoid())) &&
      FAILED(oleWindow->GetWindow(&handle)))
    handle = nullptr;
  return handle;
}

struct TExplorer {
  com::ComPtr<IDispatch> FIntf;
  EventConnection FEvents;
};

struct TInspector {
  com::ComPtr<IDispatch> FIntf;
  EventConnection FEvents;
  bool FMailItem = false;
  std::wstring FFolderName;  // the folder the active explorer showed when the item opened
};

template <class T>
bool IsTracked(const std::vector<std::unique_ptr<T>>& list, const T& wrapper) noexcept {
  return std::any_of(list.begin(), list.end(), [&](const auto& held) { return held.get() == &wrapper; });
}

// Takes the wrapper out of the list; the caller decides when it goes.
template <class T>
std::unique_ptr<T> Untrack(std::vector<std::unique_ptr<T>>& list, const T& wrapper) noexcept {
  const auto found = std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == &wrapper; });
  if (found == list.end()) return nullptr;
  std::unique_ptr<T> taken = std::move(*found);
  list.erase(found);
  return taken;
}

}  // namespace

struct OutlookWindowTracking::State {
  using WindowEvent = TadxCOMAddInModule::WindowEvent;
  using BeforeSwitchEvent = TadxCOMAddInModule::BeforeSwitchEvent;

  explicit State(TadxCOMAddInModule& owner) noexcept : module(owner) {}
  ~State() {
    if (updateSink) updateSink->Disconnect();
  }

  void Start();
  void DoNewExplorer(bool announced, const com::ComPtr<IDispatch>& explorer);
  void DoExplorerActivate(TExplorer& explorer);
  void DoExplorerFolderSwitch(TExplorer& explorer);
  void DoExplorerBeforeSwitch(const BeforeSwitchEvent& event, TExplorer& explorer, const com::DispatchArgs& args);
  void DoExplorerClose(TExplorer& explorer);
  void DoNewInspector(const com::ComPtr<IDispatch>& inspector);
  void DoInspectorActivate(TInspector& inspector);
  void DoInspectorClose(TInspector& inspector);

  // A handler for the host: its errors go to the module's error handler.
  template <class F>
  EventHandler Guarded(F body) {
    return [this, body](const com::DispatchArgs& args) { module.Guarded([&] { body(args); }); };
  }
  EventHandler Raising(WindowEvent TadxCOMAddInModule::*event, IDispatch* window) {
    return [this, event, window](const com::DispatchArgs&) { Raise(module.*event, window); };
  }
  void Raise(const WindowEvent& event, IDispatch* window) noexcept {
    module.Guarded([&] {
      if (const WindowEvent handler = event) handler(module, window);
    });
  }
  std::wstring HostVersion() noexcept;
  std::wstring ActiveFolderPath() noexcept;

  TadxCOMAddInModule& module;
  EventConnection explorersEvents;
  EventConnection inspectorsEvents;
  std::vector<std::unique_ptr<TExplorer>> explorers;
  std::vector<std::unique_ptr<TInspector>> inspectors;
  com::ComPtr<TadxCommandBarsEventSink> updateSink;
  bool activating = false;  // an explorer's or inspector's activation is running
};

void OutlookWindowTracking::State::Start() {
  OutlookApplication* outlook = module.OutlookApp();
  if (outlook == nullptr) return;
  com::Dispatch& application = outlook->Application();

  if (const com::ComPtr<IDispatch> collection =
          QueryDispatch(application.Get("Explorers").ToDispatch(), ids::kExplorers)) {
    explorersEvents =
        EventConnection(*collection.Get(), ids::kExplorersEvents,
                        {{dispid::kNewWindow, Guarded([this](const com::DispatchArgs& args) {
                            DoNewExplorer(true, QueryDispatch(args.Value(0).ToDispatch(), ids::kExplorer));
                          })}});
    com::Dispatch open(collection);
    const int count = open.Get("Count").ToInt();
    for (int index = 1; index <= count; ++index)
      DoNewExplorer(false, QueryDispatch(open.Get("Item", index).ToDispatch(), ids::kExplorer));
  }

  if (const com::ComPtr<IDispatch> collection =
          QueryDispatch(application.Get("Inspectors").ToDispatch(), ids::kInspectors)) {
    inspectorsEvents = EventConnection(*collection.Get(), ids::kInspectorsEvents,
                                       {{dispid::kNewWindow, Guarded([this](const com::DispatchArgs& args) {
                                           DoNewInspector(QueryDispatch(args.Value(0).ToDispatch(), ids::kInspector));
                                         })}});
    if (const com::ComPtr<IDispatch> active =
            QueryDispatch(application.Call("ActiveInspector").ToDispatch(), ids::kInspector))
      DoNewInspector(active);
  }
}

void OutlookWindowTracking::State::DoNewExplorer(bool announced, const com::ComPtr<IDispatch>& explorer) {
  if (!explorer) return;
  // Outlook may report a window it has reported before, through another object.
  if (!explorers.empty()) {
    if (const HWND handle = WindowHandle(explorer)) {
      for (const auto& tracked : explorers)
        if (WindowHandle(tracked->FIntf) == handle) return;
    }
  }

  auto wrapper = std::make_unique<TExplorer>();
  TExplorer& added = *wrapper;
  IDispatch* const window = explorer.Get();
  added.FIntf = explorer;
  added.FEvents = EventConnection(
      *window, ids::kExplorerEvents,
      {{dispid::kActivate, Guarded([this, &added](const com::DispatchArgs&) { DoExplorerActivate(added); })},
       {dispid::kFolderSwitch, Guarded([this, &added](const com::DispatchArgs&) { DoExplorerFolderSwitch(added); })},
       {dispid::kBeforeFolderSwitch, Guarded([this, &added](const com::DispatchArgs& args) {
          DoExplorerBeforeSwitch(module.OnOLExplorerBeforeFolderSwitch, added, args);
        })},
       {dispid::kViewSwitch, Raising(&TadxCOMAddInModule::OnOLExplorerViewSwitch, window)},
       {dispid::kBeforeViewSwitch, Guarded([this, &added](const com::DispatchArgs& args) {
          DoExplorerBeforeSwitch(module.OnOLExplorerBeforeViewSwitch, added, args);
        })},
       {dispid::kDeactivate, Raising(&TadxCOMAddInModule::OnOLExplorerDeactivate, window)},
       {dispid::kSelectionChange, Raising(&TadxCOMAddInModule::OnOLExplorerSelectionChange, window)},
       {dispid::kClose, Guarded([this, &added](const com::DispatchArgs&) { DoExplorerClose(added); })}});
  explorers.push_back(std::move(wrapper));
  Raise(module.OnOLNewExplorer, window);

  if (!announced) {
    DoExplorerActivate(added);
    return;
  }
  // Outlook 2007 shows a new explorer ready to use; the others only once it has switched to its
  // first folder.
  module.SetExplFirstStart(true);
  if (module.HostMajorVersion() == 12) {
    DoExplorerActivate(added);
    module.SetExplFirstStart(false);
    DoExplorerFolderSwitch(added);
  }
}

void OutlookWindowTracking::State::DoExplorerActivate(TExplorer& explorer) {
  const ActivationGuard guard(activating);
  if (!guard) return;
  const com::ComPtr<IDispatch> bars = ObjectProperty(explorer.FIntf, "CommandBars");
  if (UsesUpdateSink(module.HostMajorVersion())) {
    if (updateSink) updateSink->Disconnect();
    updateSink = TadxCommandBarsEventSink::Create(module, bars);
  }
  const com::ComPtr<IDispatch> commandBars = QueryDispatch(bars, __uuidof(host::office::ICommandBars));
  if (!commandBars) return;
  module.Installer().SetCommandBars(commandBars);
  module.Guarded([this] { module.Installer().ReconnectWindowBars(true); });
  Raise(module.OnOLExplorerActivate, explorer.FIntf.Get());
}

void OutlookWindowTracking::State::DoExplorerFolderSwitch(TExplorer& explorer) {
  if (module.ExplFirstStart()) {
    module.Guarded([&] { DoExplorerActivate(explorer); });
    module.SetExplFirstStart(false);
  }
  // A built-in control missing from this window's bars is no reason to stop.
  com::PassingOver("OutlookWindowTracking.DoExplorerFolderSwitch",
                   [&] { module.Installer().ConnectBuiltinControls(); });
  Raise(module.OnOLExplorerFolderSwitch, explorer.FIntf.Get());
}

// BeforeFolderSwitch(NewFolder, Cancel) and BeforeViewSwitch(NewView, Cancel): Outlook reads the
// Cancel the handler leaves.
void OutlookWindowTracking::State::DoExplorerBeforeSwitch(const BeforeSwitchEvent& event, TExplorer& explorer,
                                                          const com::DispatchArgs& args) {
  const BeforeSwitchEvent handler = event;
  if (!handler) return;
  bool cancel = args.Value(1).ToBool();
  handler(module, explorer.FIntf.Get(), args.Value(0), cancel);
  args.Ref(1).Set(com::Variant(cancel));
}

void OutlookWindowTracking::State::DoExplorerClose(TExplorer& explorer) {
  Raise(module.OnOLExplorerClose, explorer.FIntf.Get());
  const std::wstring version = HostVersion();
  // This is the wrapper's own Close event: it goes when the handler is done.
  const std::unique_ptr<TExplorer> closed = Untrack(explorers, explorer);
  // Outlook 2000 keeps its item windows open without an explorer; the others close them.
  if (explorers.empty() && version.find(L"9.0") == std::wstring::npos) {
    while (!inspectors.empty()) DoInspectorClose(*inspectors.back());
  }
}

void OutlookWindowTracking::State::DoNewInspector(const com::ComPtr<IDispatch>& inspector) {
  if (!inspector) return;
  IDispatch* const window = inspector.Get();
  Raise(module.OnOLNewInspector, window);
  const com::ComPtr<IDispatch> item = ObjectProperty(inspector, "CurrentItem");
  if (!ObjectProperty(inspector, "CommandBars") || !item) return;
  const int itemClass = com::Dispatch(item).Get("Class").ToInt();
  if (itemClass == kNoteItemClass) return;

  auto wrapper = std::make_unique<TInspector>();
  TInspector& added = *wrapper;
  added.FIntf = inspector;
  added.FMailItem = itemClass == kMailItemClass;
  added.FFolderName = ActiveFolderPath();
  added.FEvents = EventConnection(
      *window, ids::kInspectorEvents,
      {{dispid::kActivate, Guarded([this, &added](const com::DispatchArgs&) { DoInspectorActivate(added); })},
       {dispid::kDeactivate, Raising(&TadxCOMAddInModule::OnOLInspectorDeactivate, window)},
       {dispid::kClose, Guarded([this, &added](const com::DispatchArgs&) { DoInspectorClose(added); })}});
  inspectors.push_back(std::move(wrapper));
  DoInspectorActivate(added);
}

void OutlookWindowTracking::State::DoInspectorActivate(TInspector& inspector) {
  const ActivationGuard guard(activating);
  if (!guard) return;
  const com::ComPtr<IDispatch> commandBars =
      QueryDispatch(ObjectProperty(inspector.FIntf, "CommandBars"), __uuidof(host::office::ICommandBars));
  if (!commandBars) return;
  module.Installer().SetCommandBars(commandBars);
  module.Guarded([this] { module.Installer().ReconnectWindowBars(false); });
  Raise(module.OnOLInspectorActivate, inspector.FIntf.Get());
}

void OutlookWindowTracking::State::DoInspectorClose(TInspector& inspector) {
  if (!IsTracked(inspectors, inspector)) return;
  Raise(module.OnOLInspectorClose, inspector.FIntf.Get());
  const std::unique_ptr<TInspector> closed = Untrack(inspectors, inspector);
}

std::wstring OutlookWindowTracking::State::HostVersion() noexcept {
  return com::PassingOver("OutlookWindowTracking.HostVersion", std::wstring(), [&] {
    return module.OutlookApp() == nullptr ? std::wstring() : module.OutlookApp()->Version();
  });
}

std::wstring OutlookWindowTracking::State::ActiveFolderPath() noexcept {
  return com::PassingOver("OutlookWindowTracking.ActiveFolderPath", std::wstring(), [&] {
    if (module.OutlookApp() == nullptr) return std::wstring();
    const com::ComPtr<IDispatch> explorer = module.OutlookApp()->Application().Call("ActiveExplorer").ToDispatch();
    const com::ComPtr<IDispatch> folder = ObjectProperty(explorer, "CurrentFolder");
    return folder ? com::Dispatch(folder).Get("FullFolderPath").ToUtf16() : std::wstring();
  });
}

OutlookWindowTracking::OutlookWindowTracking(TadxCOMAddInModule& module) : state_(std::make_unique<State>(module)) {}

OutlookWindowTracking::~OutlookWindowTracking() = default;

void OutlookWindowTracking::Start() { state_->Start(); }

}  // namespace qor::framework
