#pragma once

// TadxCommandBarsEventSink: hears OnUpdate of one window's CommandBars collection (Outlook 2002 and
// 2003 raise it before they show a menu) and asks the module to reconnect its context menus.

#include <oaidl.h>

#include "com/com_object.h"
#include "com/com_ptr.h"

namespace qor::framework {

class TadxCOMAddInModule;

class TadxCommandBarsEventSink final : public com::ComObject<TadxCommandBarsEventSink, IDispatch> {
 public:
  // Advises _CommandBarsEvents on `commandBars`; a failure leaves the sink unconnected.
  static com::ComPtr<TadxCommandBarsEventSink> Create(TadxCOMAddInModule& module, com::ComPtr<IDispatch> commandBars);
  TadxCommandBarsEventSink(TadxCOMAddInModule& module, com::ComPtr<IDispatch> commandBars);
  ~TadxCommandBarsEventSink() override;

  // Unadvises; every error is swallowed. After it the sink calls the module no more.
  void Disconnect() noexcept;

  // _CommandBarsEvents, answered through IDispatch.
  static bool ExtraInterface(REFIID iid) noexcept;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override;

 private:
  TadxCOMAddInModule* FAddInModule;
  com::ComPtr<IDispatch> FCmdBars;
  DWORD FCookie = 0;
};

}  // namespace qor::framework
