#include "framework/event_sink.h"

#include <string>

#include "com/boundary.h"
#include "com/utf.h"
#include "framework/command_bar_items.h"
#include "framework/command_bar_search.h"
#include "framework/event_params.h"
#include "framework/module_site.h"
#include "host/office/command_bar.h"
#include "host/office/office_ids.h"

namespace qor::framework {

namespace {

using host::office::CommandBarControl;

// Word's _Application, where a walk up a control's parents ends.
constexpr IID kWordApplication = {0x00020970, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The host control's MsoControlType; 0 when it cannot be read.
int HostType(const com::ComPtr<IDispatch>& control) noexcept {
  if (!control) return 0;
  return com::PassingOver("TadxEventSink.HostType", 0,
                          [&] { return static_cast<int>(CommandBarControl(control).Type()); });
}

bool IsTheSameCommandBar(const com::ComPtr<IDispatch>& candidate, const com::ComPtr<IDispatch>& bar) {
  if (!candidate || !bar) return false;
  const com::ComPtr<IDispatch> asBar = QueryDispatch(candidate, __uuidof(host::office::ICommandBar));
  if (!asBar) return false;
  return host::office::CommandBar(asBar).Name() == host::office::CommandBar(bar).Name();
}

// Whether `ctrl` sits, at any depth, on `bar`.
bool LiesOnBar(const com::ComPtr<IDispatch>& ctrl, const com::ComPtr<IDispatch>& bar) {
  return com::PassingOver("TadxEventSink.LiesOnBar", false, [&] {
    com::ComPtr<IDispatch> parent = CommandBarControl(ctrl).Parent().Object();
    while (parent) {
      if (IsTheSameCommandBar(parent, bar)) return true;
      parent = com::Dispatch(parent).Get("Parent").ToDispatch();
      if (QueryDispatch(parent, kWordApplication)) return false;
    }
    return false;
  });
}

}  // namespace

com::ComPtr<TadxEventSink> TadxEventSink::Create(ModuleSite& module, TadxCommandBarControl& control) {
  auto sink = com::Make<TadxEventSink>(module, &control, nullptr);
  sink->Connect(control.DefaultInterface());
  return sink;
}

com::ComPtr<TadxEventSink> TadxEventSink::Create(ModuleSite& module, TadxBuiltInControl& control) {
  auto sink = com::Make<TadxEventSink>(module, nullptr, &control);
  sink->Connect(control.DefaultInterface());
  return sink;
}

TadxEventSink::TadxEventSink(ModuleSite& module, TadxCommandBarControl* control, TadxBuiltInControl* builtIn)
    : FAddInModule(&module), FIControl(control), FIBuiltInControl(builtIn) {}

TadxEventSink::~TadxEventSink() { Disconnect(); }

// Buttons raise Click; edits, drop-downs and combo boxes raise Change.
void TadxEventSink::Connect(const com::ComPtr<IDispatch>& source) noexcept {
  if (!source) return;
  const IID& events = HostType(source) == 1 ? __uuidof(host::office::DCommandBarButtonEvents)
                                             : __uuidof(host::office::DCommandBarComboBoxEvents);
  FConnection = com::AdviseConnection::TryAdvise(*source.Get(), events, *static_cast<IDispatch*>(this));
  if (FConnection) FAddInModule->AddSink(*this);
}

void TadxEventSink::Disconnect() noexcept {
  if (FConnection) {
    FAddInModule->RemoveSink(*this);
    FConnection.Unadvise();  // the host control may be gone: nothing to report
  }
  FIControl = nullptr;
  FIBuiltInControl = nullptr;
}

com::ComPtr<IDispatch> TadxEventSink::ServedControl() const noexcept {
  if (FIControl != nullptr) return FIControl->DefaultInterface();
  if (FIBuiltInControl != nullptr) return FIBuiltInControl->DefaultInterface();
  return nullptr;
}

const char* TadxEventSink::EventName() const noexcept {
  const int type = HostType(ServedControl());
  return type == 1 ? "Click" : type >= 2 && type <= 4 ? "Change" : nullptr;
}

HRESULT STDMETHODCALLTYPE TadxEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                                EXCEPINFO*, UINT*) noexcept {
  return com::Entry("TadxEventSink.Invoke", [&]() -> HRESULT {
    if (id != 1) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr) return E_POINTER;
    // Rebinding the control, or a handler doing so, disconnects this sink while it runs.
    com::ComPtr<TadxEventSink> self;
    self.CopyFrom(this);
    com::ComPtr<IDispatch> ctrl;
    com::PassingOver("TadxEventSink.Invoke", [&] {
      const std::vector<com::Variant> args = EventParams(*params);
      if (!args.empty()) ctrl = QueryDispatch(args.front().ToDispatch(), __uuidof(host::office::ICommandBarControl));
    });
    Route(ctrl, *params);
    return S_OK;
  });
}

void TadxEventSink::Route(const com::ComPtr<IDispatch>& ctrl, DISPPARAMS& params) {
  if (FIControl == nullptr && FIBuiltInControl == nullptr) return;
  ModuleSite& module = *FAddInModule;
  const std::wstring& ownTag = FIControl != nullptr ? FIControl->OfficeTag() : FIBuiltInControl->OfficeTag();
  const bool own = com::PassingOver("TadxEventSink.Route", true,
                                     [&] { return ctrl && CommandBarControl(ctrl).Tag() == com::ToUtf8(ownTag); });
  if (!own && FIControl != nullptr) return;

  module.Guarded([&] {
    TadxCommandBarControl* control = FIControl;
    TadxBuiltInControl* builtIn = FIBuiltInControl;
    // Office may have dropped the object the item holds while the control lives on: bind the item
    // to the control that fired.
    if (control != nullptr && ctrl) {
      const bool alive = com::PassingOver("TadxEventSink.Route", [&] {
        const CommandBarControl stored(control->DefaultInterface());
        stored.SetHelpFile(stored.HelpFile());
      });
      if (!alive) control->SetInterface(ctrl);
    }
    if (FLocked) return;
    FLocked = true;
    struct Unlock {
      bool& flag;
      ~Unlock() { flag = false; }
    } unlock{FLocked};
    if (control != nullptr) {
      control->DoAction();
      return;
    }
    if (builtIn->CommandBar != nullptr && !LiesOnBar(ctrl, builtIn->CommandBar->DefaultInterface())) return;
    bool cancelDefault = false;
    builtIn->ControlInvoked = ctrl;
    struct Forget {
      com::ComPtr<IDispatch>& invoked;
      ~Forget() { invoked.Reset(); }
    } forget{builtIn->ControlInvoked};
    builtIn->DoAction(cancelDefault);
    if (params.cArgs > 1 && params.rgvarg != nullptr) {
      for (UINT i = 0; i < params.cArgs; ++i) {
        VARIANT& argument = params.rgvarg[i];
        if (argument.vt == (VT_BYREF | VT_BOOL) && argument.pboolVal != nullptr)
          *argument.pboolVal = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
      }
    }
  });
}

}  // namespace qor::framework
