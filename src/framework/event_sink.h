#pragma once

// TadxEventSink: hears the Click of one host button (or the Change of one edit or combo box) and
// routes it to the framework item or built-in-control component that owns it. Office may deliver
// one control's events to the sinks of every control object it handed out, so the clicked
// control's Tag is checked against the owner's OfficeTag first.

#include <oaidl.h>
#include <ocidl.h>

#include "com/advise_connection.h"
#include "com/com_object.h"
#include "com/com_ptr.h"
#include "framework/single_event_dispatch.h"

namespace qor::framework {

class TadxBuiltInControl;
class ModuleSite;
class TadxCommandBarControl;

class TadxEventSink final : public com::ComObject<TadxEventSink, SingleEventDispatch> {
 public:
  // Connects to the button or combo-box events of the owner's bound host control; a failure
  // leaves the sink unconnected. The sink enters the module's sink list while connected.
  static com::ComPtr<TadxEventSink> Create(ModuleSite& module, TadxCommandBarControl& control);
  static com::ComPtr<TadxEventSink> Create(ModuleSite& module, TadxBuiltInControl& control);
  TadxEventSink(ModuleSite& module, TadxCommandBarControl* control, TadxBuiltInControl* builtIn);
  ~TadxEventSink() override;

  // Unadvises and forgets the owner; errors are swallowed (the host control may be gone).
  void Disconnect() noexcept;
  bool Connected() const noexcept { return static_cast<bool>(FConnection); }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* argumentError) noexcept override;

 private:
  void Connect(const com::ComPtr<IDispatch>& source) noexcept;
  // "Click" for a button, "Change" for an edit, drop-down or combo box.
  const char* EventName() const noexcept override;
  // The host control served: the item's or the built-in control's bound CommandBarControl.
  com::ComPtr<IDispatch> ServedControl() const noexcept;
  void Route(const com::ComPtr<IDispatch>& ctrl, DISPPARAMS& params);

  ModuleSite* FAddInModule;
  TadxCommandBarControl* FIControl;
  TadxBuiltInControl* FIBuiltInControl;
  com::AdviseConnection FConnection;
  bool FLocked = false;
};

}  // namespace qor::framework
