#include "framework/command_bars_event_sink.h"

#include "com/boundary.h"
#include "framework/command_bar_installer.h"
#include "framework/module_site.h"
#include "host/office/office_ids.h"

namespace qor::framework {

com::ComPtr<TadxCommandBarsEventSink> TadxCommandBarsEventSink::Create(ModuleSite& module,
                                                                       com::ComPtr<IDispatch> commandBars) {
  com::ComPtr<TadxCommandBarsEventSink> sink = com::Make<TadxCommandBarsEventSink>(module, std::move(commandBars));
  if (sink->FCmdBars)
    sink->FConnection = com::AdviseConnection::TryAdvise(*sink->FCmdBars.Get(), __uuidof(host::office::DCommandBarsEvents),
                                                         *static_cast<IDispatch*>(sink.Get()));
  return sink;
}

TadxCommandBarsEventSink::TadxCommandBarsEventSink(ModuleSite& module, com::ComPtr<IDispatch> commandBars)
    : FAddInModule(&module), FCmdBars(std::move(commandBars)) {}

TadxCommandBarsEventSink::~TadxCommandBarsEventSink() = default;

bool TadxCommandBarsEventSink::ExtraInterface(REFIID iid) noexcept {
  return iid == __uuidof(host::office::DCommandBarsEvents);
}

void TadxCommandBarsEventSink::Disconnect() noexcept {
  FAddInModule = nullptr;
  FConnection.Unadvise();
}

HRESULT STDMETHODCALLTYPE TadxCommandBarsEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                                           EXCEPINFO*, UINT*) noexcept {
  if (id != host::office::kOnUpdateDispId) return DISP_E_MEMBERNOTFOUND;
  if (result != nullptr) VariantInit(result);
  if (FAddInModule == nullptr) return S_OK;
  // The module may disconnect and release this sink while it rebuilds its menus.
  com::ComPtr<TadxCommandBarsEventSink> self;
  self.CopyFrom(this);
  // Office ignores a failing OnUpdate sink; the menus stay as they were.
  com::PassingOver("TadxCommandBarsEventSink.Invoke", [&] { FAddInModule->Installer().DoCommandBarsUpdate(); });
  return S_OK;
}

}  // namespace qor::framework
