#include "framework/custom_events.h"

#include <exception>

#include "com/boundary.h"
#include "com/com_object.h"
#include "com/typeless_dispatch.h"
#include "framework/adx_error.h"
#include "framework/event_params.h"
#include "framework/module_site.h"

namespace qor::framework {

// The sink the host calls. It outlives its server when the host keeps a reference after the
// server has gone: from then on it answers every call and does nothing.
class TadxEventDispatch final : public com::ComObject<TadxEventDispatch, com::TypelessDispatch> {
 public:
  TadxEventDispatch(TadxCustomEvents& server, const IID& events) noexcept : server_(&server), events_(events) {}

  bool ExtraInterface(REFIID iid) const noexcept { return iid == events_; }
  void ServerDisconnect() noexcept { server_ = nullptr; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) noexcept override {
    return com::Entry("TadxEventDispatch.Invoke", [&]() -> HRESULT {
      if (result != nullptr) VariantInit(result);
      if (server_ == nullptr) return S_OK;
      // A handler may free the server, and the host its last reference to this sink.
      com::ComPtr<TadxEventDispatch> self;
      self.CopyFrom(this);
      ModuleSite& module = server_->Owner();
      const DISPPARAMS none{};
      const DISPPARAMS& arguments = params == nullptr ? none : *params;
      try {
        std::vector<com::Variant> values = EventParams(arguments);
        try {
          server_->InvokeEvent(id, values);
        } catch (...) {
          module.DoError(std::current_exception());
        }
        WriteBackBooleans(arguments, values);
      } catch (...) {
        module.DoError(std::current_exception());
      }
      return S_OK;
    });
  }

 private:
  TadxCustomEvents* server_;
  IID events_;
};

TadxCustomEvents::TadxCustomEvents(ModuleSite* owner) : owner_(owner) {
  if (owner_ == nullptr)
    throw AdxError("The TadxCustomEvents class cannot be contained in the nil class.", kErrorEventsOwner);
}

TadxCustomEvents::~TadxCustomEvents() {
  TadxCustomEvents::Disconnect();
  if (FEventDispatch) FEventDispatch->ServerDisconnect();
  FEventDispatch.Reset();
  if (serverData_ != nullptr) --serverData_->InstanceCount;
}

void TadxCustomEvents::InitServerData(TServerData& data) {
  FEventDispatch = com::Make<TadxEventDispatch>(*this, data.EventIID);
  serverData_ = &data;
  ++data.InstanceCount;
}

void TadxCustomEvents::ConnectTo(IDispatch& source) {
  Disconnect();
  ConnectEvents(source);
}

void TadxCustomEvents::Disconnect() noexcept { DisconnectEvents(); }

void TadxCustomEvents::InvokeEvent(DISPID, std::vector<com::Variant>&) {}

void TadxCustomEvents::ConnectEvents(IDispatch& source) noexcept {
  if (!FEventDispatch || FEventsConnection) return;
  FEventsConnection =
      com::AdviseConnection::TryAdvise(source, serverData_->EventIID, *static_cast<IDispatch*>(FEventDispatch.Get()));
}

void TadxCustomEvents::DisconnectEvents() noexcept { FEventsConnection.Unadvise(); }

IDispatch* TadxCustomEvents::EventDispatch() const noexcept { return FEventDispatch.Get(); }

}  // namespace qor::framework
