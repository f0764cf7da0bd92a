#pragma once

// TadxEventSink: hears the Click of one host button (or the Change of one edit or combo box) and
// routes it to the framework item or built-in-control component that owns it. Office may deliver
// one control's events to the sinks of every control object it handed out, so the clicked
// control's Tag is checked against the owner's OfficeTag first.

#include <oaidl.h>
#include <ocidl.h>

#include "com/com_object.h"
#include "com/com_ptr.h"

namespace qor::framework {

class TadxBuiltInControl;
class TadxCOMAddInModule;
class TadxCommandBarControl;

class TadxEventSink final : public com::ComObject<TadxEventSink, IDispatch> {
 public:
  // Connects to the button or combo-box events of the owner's bound host control; a failure
  // leaves the sink unconnected. The sink enters the module's sink list while connected.
  static com::ComPtr<TadxEventSink> Create(TadxCOMAddInModule& module, TadxCommandBarControl& control);
  static com::ComPtr<TadxEventSink> Create(TadxCOMAddInModule& module, TadxBuiltInControl& control);
  TadxEventSink(TadxCOMAddInModule& module, TadxCommandBarControl* control, TadxBuiltInControl* builtIn);
  ~TadxEventSink() override;

  // Unadvises and forgets the owner; errors are swallowed (the host control may be gone).
  void Disconnect() noexcept;
  bool Connected() const noexcept { return FCookie != 0; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* argumentError) noexcept override;

 private:
  void Connect(const com::ComPtr<IDispatch>& source) noexcept;
  // The host control served: the item's or the built-in control's bound CommandBarControl.
  com::ComPtr<IDispatch> ServedControl() const noexcept;
  void Route(const com::ComPtr<IDispatch>& ctrl, DISPPARAMS& params);

  TadxCOMAddInModule* FAddInModule;
  TadxCommandBarControl* FIControl;
  TadxBuiltInControl* FIBuiltInControl;
  com::ComPtr<IConnectionPoint> point_;
  DWORD FCookie = 0;
  bool FLocked = false;
};

}  // namespace qor::framework
