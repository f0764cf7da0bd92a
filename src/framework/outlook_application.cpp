#include "framework/outlook_application.h"

#include "com/com_error.h"

namespace qor::framework {

namespace ids = host::outlook_ids;

namespace {

EventConnection ConnectApplication(IDispatch& application, std::vector<std::pair<DISPID, EventHandler>> handlers) {
  try {
    return EventConnection(application, ids::kApplicationEvents11, handlers);
  } catch (const com::ComError&) {
    return EventConnection(application, ids::kApplicationEvents, std::move(handlers));
  }
}

}  // namespace

OutlookApplication::OutlookApplication(com::ComPtr<IDispatch> application) : application_(std::move(application)) {
  if (!application_) throw com::ComError(E_POINTER);
  events_ = ConnectApplication(
      *application_.Object(),
      {{ids::dispid::kQuit,
        [this](const com::DispatchArgs&) {
          if (const auto handler = OnQuit) handler();
        }},
       {ids::dispid::kOptionsPagesAdd, [this](const com::DispatchArgs& args) {
          if (const auto handler = OnOptionsPagesAdd) handler(args.Value(0).ToDispatch().Get());
        }}});
}

std::wstring OutlookApplication::Version() { return application_.Get("Version").ToUtf16(); }

OutlookNameSpace::OutlookNameSpace(com::ComPtr<IDispatch> nameSpace) {
  if (!nameSpace) throw com::ComError(E_POINTER);
  events_ = EventConnection(*nameSpace.Get(), ids::kNameSpaceEvents,
                            {{ids::dispid::kNameSpaceOptionsPagesAdd, [this](const com::DispatchArgs& args) {
                                if (const auto handler = OnOptionsPagesAdd)
                                  handler(args.Value(0).ToDispatch().Get(), args.Value(1).ToDispatch().Get());
                              }}});
}

}  // namespace qor::framework
