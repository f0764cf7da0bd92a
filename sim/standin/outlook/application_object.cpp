#include "standin/outlook/application_object.h"

#include <string>
#include <utility>

namespace qor::standin {

ApplicationObject::ApplicationObject(std::shared_ptr<OutlookSession> session) : session_(std::move(session)) {
  AddConnectionPoint(ids::kApplicationEvents);
  AddConnectionPoint(ids::kApplicationEvents11);
}

const com::DispatchTable<ApplicationObject>& ApplicationObject::DispatchMembers() {
  using Self = ApplicationObject;
  static const auto table =
      com::DispatchTable<Self>()
          .Property("Name", [](Self&) { return std::string("Outlook"); })
          .Property("Version", [](Self& self) { return self.session_->VersionText(); })
          .Method("GetNamespace",
                  [](Self& self, std::string type) {
                    self.session_->Outlook()->GetNamespace(type);  // refuses anything but "MAPI"
                    return com::ComPtr<IDispatch>(self.session_->NameSpace());
                  })
          .Property("Session", [](Self& self) { return com::ComPtr<IDispatch>(self.session_->NameSpace()); })
          .Method("ActiveExplorer", [](Self& self) { return com::ComPtr<IDispatch>(self.session_->ActiveExplorer()); })
          .Method("ActiveInspector",
                  [](Self& self) { return com::ComPtr<IDispatch>(self.session_->ActiveInspector()); })
          .Method("ActiveWindow", [](Self& self) { return self.session_->ActiveWindow(); })
          .Property("Explorers", [](Self& self) { return com::ComPtr<IDispatch>(self.session_->Explorers()); })
          .Property("Inspectors", [](Self& self) { return com::ComPtr<IDispatch>(self.session_->Inspectors()); });
  return table;
}

void ApplicationObject::RaiseApplicationEvent(DISPID id, std::span<const com::Variant> args) {
  FireArgs(ids::kApplicationEvents, id, args);
  FireArgs(ids::kApplicationEvents11, id, args);
}

}  // namespace qor::standin
