#include "framework/event_connection.h"

#include "com/boundary.h"
#include "com/com_object.h"
#include "com/typeless_dispatch.h"

namespace qor::framework {

namespace {

class EventSink final : public com::ComObject<EventSink, com::TypelessDispatch> {
 public:
  EventSink(const IID& events, std::vector<std::pair<DISPID, EventHandler>> handlers)
      : events_(events), handlers_(std::move(handlers)) {}

  bool ExtraInterface(REFIID iid) const noexcept { return iid == events_; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) noexcept override {
    return com::Entry("EventSink.Invoke", [&]() -> HRESULT {
      if (result != nullptr) VariantInit(result);
      for (const auto& [handlerId, handler] : handlers_) {
        if (handlerId != id) continue;
        // The handler may disconnect this sink and free its owner: both stay alive for the call.
        com::ComPtr<EventSink> self;
        self.CopyFrom(this);
        const EventHandler call = handler;
        call(com::DispatchArgs(params == nullptr ? nullptr : params->rgvarg, params == nullptr ? 0 : params->cArgs));
        return S_OK;
      }
      return S_OK;  // events nobody listens to are welcome
    });
  }

 private:
  IID events_;
  std::vector<std::pair<DISPID, EventHandler>> handlers_;
};

}  // namespace

EventConnection::EventConnection(IDispatch& source, REFIID events,
                                 std::vector<std::pair<DISPID, EventHandler>> handlers) {
  const com::ComPtr<EventSink> sink = com::Make<EventSink>(events, std::move(handlers));
  connection_ = com::AdviseConnection(source, events, *static_cast<IDispatch*>(sink.Get()));
}

}  // namespace qor::framework
