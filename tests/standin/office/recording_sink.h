#pragma once

// An event sink for one Office event dispinterface: records each call's arguments and can write a
// by-reference CancelDefault. Any DISPID other than 1 fails the call.

#include "com/com_error.h"
#include "com/com_object.h"
#include "com/dispatch_call.h"
#include "com/dispatch_impl.h"

#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

namespace qor::standin::office::testing {

class RecordingSink final : public com::ComObject<RecordingSink, com::DispatchImpl<RecordingSink>> {
 public:
  explicit RecordingSink(const IID& events) : events_(events) {}

  static const com::DispatchTable<RecordingSink>& DispatchMembers() {
    static const auto table = com::DispatchTable<RecordingSink>().Method("Event", 1, &RecordingSink::Event);
    return table;
  }
  bool ExtraInterface(REFIID iid) const noexcept { return iid == events_; }

  // Objects are not kept (that would tie the source to its own sink): an object argument is
  // recorded by its Tag and its identity.
  struct Call {
    std::vector<VARTYPE> types;  // in declared order
    std::vector<com::Variant> values;
    std::string ctrlTag;
    const IUnknown* ctrl = nullptr;
  };
  std::vector<Call> calls;
  bool cancel = false;  // written to a by-reference argument
  std::function<void()> during;

 private:
  void Event(const com::DispatchArgs& args) {
    Call call;
    for (std::size_t i = 0; i < args.Count(); ++i) {
      call.types.push_back(args.Raw(i).vt);
      com::Variant value = args.Value(i);
      if (value.Type() == VT_DISPATCH) {
        com::Dispatch object(value.ToDispatch());
        call.ctrlTag = object.Get("Tag").ToUtf8();
        call.ctrl = object.Object().As<IUnknown>().Get();
        value.Reset();
      }
      call.values.push_back(std::move(value));
    }
    calls.push_back(std::move(call));
    if (cancel && args.Count() > 1) args.Ref(1).Set(true);
    if (during) during();
  }

  IID events_;
};

// Advises `sink` on `source`'s connection point for `events`; 0 when any step fails.
inline DWORD Advise(IDispatch& source, const IID& events, const com::ComPtr<RecordingSink>& sink) {
  com::ComPtr<IConnectionPointContainer> container;
  com::ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  if (FAILED(source.QueryInterface(__uuidof(IConnectionPointContainer), container.PutVoid())) ||
      FAILED(container->FindConnectionPoint(events, point.Put())) ||
      FAILED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie)))
    return 0;
  return cookie;
}

inline HRESULT Unadvise(IDispatch& source, const IID& events, DWORD cookie) {
  com::ComPtr<IConnectionPointContainer> container;
  com::ComPtr<IConnectionPoint> point;
  com::ThrowIfFailed(source.QueryInterface(__uuidof(IConnectionPointContainer), container.PutVoid()));
  com::ThrowIfFailed(container->FindConnectionPoint(events, point.Put()));
  return point->Unadvise(cookie);
}

}  // namespace qor::standin::office::testing
