#include "standin/office/addin_objects.h"

#include <utility>

#include "com/utf.h"
#include "standin/office/office_errors.h"

namespace qor::standin::office {

ComAddInObject::ComAddInObject(com::ComPtr<ComAddInsObject> parent, std::string progId, std::string guid,
                               std::string description)
    : parent_(std::move(parent)),
      progId_(std::move(progId)),
      guid_(std::move(guid)),
      description_(std::move(description)) {}

void ComAddInObject::SetConnected(bool connected) noexcept {
  connected_ = connected;
  if (!connected) object_.Reset();
}

const com::DispatchTable<ComAddInObject>& ComAddInObject::DispatchMembers() {
  using Self = ComAddInObject;
  static const auto table = com::DispatchTable<Self>()
                                .Property("Application", [](Self& self) { return self.parent_->application_; })
                                .Property("Connect", [](Self& self) { return self.connected_; })
                                .Property(
                                    "Description", [](Self& self) { return self.description_; },
                                    [](Self& self, std::string text) { self.description_ = std::move(text); })
                                .Property("Guid", [](Self& self) { return self.guid_; })
                                .Property(
                                    "Object", [](Self& self) { return self.object_; },
                                    [](Self& self, com::Variant object) { self.object_ = std::move(object); })
                                .Property("Parent", [](Self& self) { return com::ComPtr<IDispatch>(self.parent_); })
                                .Property("ProgId", [](Self& self) { return self.progId_; });
  return table;
}

com::ComPtr<ComAddInObject> ComAddInsObject::Add(std::string progId, std::string guid, std::string description) {
  com::ComPtr<ComAddInsObject> self;
  self.CopyFrom(this);
  auto entry = com::Make<ComAddInObject>(std::move(self), std::move(progId), std::move(guid), std::move(description));
  entries_.push_back(entry);
  return entry;
}

com::ComPtr<ComAddInObject> ComAddInsObject::Find(const std::string& progId) const {
  const std::wstring wanted = com::ToUtf16(progId);
  for (const auto& entry : entries_)
    if (com::DispatchNamesEqual(com::ToUtf16(entry->progId_), wanted)) return entry;
  return nullptr;
}

void ComAddInsObject::Clear() noexcept {
  for (const auto& entry : entries_) entry->SetConnected(false);
  entries_.clear();
}

const com::DispatchTable<ComAddInsObject>& ComAddInsObject::DispatchMembers() {
  using Self = ComAddInsObject;
  static const auto table =
      com::DispatchTable<Self>()
          .Property("Application", [](Self& self) { return self.application_; })
          .Property("Count", [](Self& self) { return static_cast<int>(self.entries_.size()); })
          // By position from 1 or by ProgID.
          .Method("Item", DISPID_VALUE,
                  [](Self& self, com::Variant index) {
                    com::ComPtr<ComAddInObject> found;
                    if (index.Type() == VT_BSTR) {
                      found = self.Find(index.ToUtf8());
                    } else if (const int position = index.ToInt();
                               position >= 1 && static_cast<std::size_t>(position) <= self.entries_.size()) {
                      found = self.entries_[static_cast<std::size_t>(position - 1)];
                    }
                    if (!found) ThrowInvalidArgument();
                    return com::ComPtr<IDispatch>(found);
                  })
          .Property("Parent", [](Self& self) { return self.application_; })
          .Method("Update", [](Self&) {});
  return table;
}

}  // namespace qor::standin::office
