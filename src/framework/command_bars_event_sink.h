#pragma once

// TadxCommandBarsEventSink: hears OnUpdate of one window's CommandBars collection (Outlook 2002 and
// 2003 raise it before they show a menu) and asks the module to reconnect its context menus.

#include <oaidl.h>

#include "com/advise_connection.h"
#include "com/com_object.h"
#include "com/com_ptr.h"
#include "framework/single_event_dispatch.h"

namespace qor::framework {

class ModuleSite;

class TadxCommandBarsEventSink final : public com::ComObject<TadxCommandBarsEventSink, SingleEventDispatch> {
 public:
  // Advises _CommandBarsEvents on `commandBars`; a failure leaves the sink unconnected.
  static com::ComPtr<TadxCommandBarsEventSink> Create(ModuleSite& module, com::ComPtr<IDispatch> commandBars);
  TadxCommandBarsEventSink(ModuleSite& module, com::ComPtr<IDispatch> commandBars);
  ~TadxCommandBarsEventSink() override;

  // Unadvises; every error is swallowed. After it the sink calls the module no more.
  void Disconnect() noexcept;

  // _CommandBarsEvents, answered through IDispatch.
  static bool ExtraInterface(REFIID iid) noexcept;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override;

 private:
  const char* EventName() const noexcept override { return "OnUpdate"; }

  ModuleSite* FAddInModule;
  com::ComPtr<IDispatch> FCmdBars;
  com::AdviseConnection FConnection;
};

}  // namespace qor::framework
