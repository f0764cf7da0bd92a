#include "framework/command_bars_event_sink.h"

#include <ocidl.h>

#include <cstring>

#include "framework/addin_module.h"
#include "host/office/office_ids.h"

namespace qor::framework {

namespace {

com::ComPtr<IConnectionPoint> UpdatePoint(IDispatch& commandBars) noexcept {
  com::ComPtr<IConnectionPointContainer> container;
  com::ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(commandBars.QueryInterface(__uuidof(IConnectionPointContainer), container.PutVoid())))
    container->FindConnectionPoint(__uuidof(host::office::DCommandBarsEvents), point.Put());
  return point;
}

}  // namespace

com::ComPtr<TadxCommandBarsEventSink> TadxCommandBarsEventSink::Create(TadxCOMAddInModule& module,
                                                                       com::ComPtr<IDispatch> commandBars) {
  com::ComPtr<TadxCommandBarsEventSink> sink = com::Make<TadxCommandBarsEventSink>(module, std::move(commandBars));
  if (sink->FCmdBars) {
    if (const com::ComPtr<IConnectionPoint> point = UpdatePoint(*sink->FCmdBars.Get())) {
      DWORD cookie = 0;
      if (SUCCEEDED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie))) sink->FCookie = cookie;
    }
  }
  return sink;
}

TadxCommandBarsEventSink::TadxCommandBarsEventSink(TadxCOMAddInModule& module, com::ComPtr<IDispatch> commandBars)
    : FAddInModule(&module), FCmdBars(std::move(commandBars)) {}

TadxCommandBarsEventSink::~TadxCommandBarsEventSink() = default;

bool TadxCommandBarsEventSink::ExtraInterface(REFIID iid) noexcept {
  return iid == __uuidof(host::office::DCommandBarsEvents);
}

void TadxCommandBarsEventSink::Disconnect() noexcept {
  FAddInModule = nullptr;
  if (FCookie == 0 || !FCmdBars) return;
  if (const com::ComPtr<IConnectionPoint> point = UpdatePoint(*FCmdBars.Get())) point->Unadvise(FCookie);
  FCookie = 0;
}

HRESULT STDMETHODCALLTYPE TadxCommandBarsEventSink::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TadxCommandBarsEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return E_FAIL;
}

// The one member, matched as Office's own sinks match it: the ANSI name, case-sensitively.
HRESULT STDMETHODCALLTYPE TadxCommandBarsEventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                                  DISPID* ids) noexcept {
  if (names == nullptr || ids == nullptr) return E_POINTER;
  if (count != 1) return E_INVALIDARG;
  char name[512] = {};
  const bool converted =
      names[0] != nullptr && WideCharToMultiByte(CP_ACP, 0, names[0], -1, name, sizeof name, nullptr, nullptr) > 0;
  if (converted && std::strcmp(name, "OnUpdate") == 0) {
    ids[0] = host::office::kOnUpdateDispId;
    return S_OK;
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE TadxCommandBarsEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                                           EXCEPINFO*, UINT*) noexcept {
  if (id != host::office::kOnUpdateDispId) return DISP_E_MEMBERNOTFOUND;
  if (result != nullptr) VariantInit(result);
  if (FAddInModule == nullptr) return S_OK;
  // The module may disconnect and release this sink while it rebuilds its menus.
  com::ComPtr<TadxCommandBarsEventSink> self;
  self.CopyFrom(this);
  try {
    FAddInModule->DoCommandBarsUpdate();
  } catch (...) {
    // Office ignores a failing OnUpdate sink; the menus stay as they were.
  }
  return S_OK;
}

}  // namespace qor::framework
