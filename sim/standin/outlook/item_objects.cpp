#include "standin/outlook/item_objects.h"

#include <string>
#include <utility>

#include "host/memory/host_messages.h"
#include "host/memory/memory_item.h"
#include "standin/outlook/folder_objects.h"

namespace qor::standin {
std::string SubjectOf(const host::Item& item) {
  if (const auto* stored = dynamic_cast<const host::memory::MemoryItem*>(&item)) return stored->Subject();
  throw com::ComError(DISP_E_MEMBERNOTFOUND);
}

namespace {

com::ComPtr<IDispatch> Move(host::Item& item, const com::ComPtr<IDispatch>& destination) {
  const auto folder = HostFolderOf(destination.Get());
  if (!folder) throw host::HostError(host::memory::messages::kCannotMoveItems);
  return MakeItemObject(item.Move(*folder));
}

// The members every item kind answers; `Of(self)` gives the host item.
template <class D, class Of>
com::DispatchTable<D> ItemMembers(Of of) {
  return com::DispatchTable<D>()
      .Property("Class", [of](D& self) { return static_cast<int>(of(self).Class()); })
      .Property("EntryID", [of](D& self) { return of(self).EntryID(); })
      .Property("Subject", [of](D& self) { return SubjectOf(of(self)); })
      .Property(
          "Body", [of](D& self) { return of(self).Body(); },
          [of](D& self, std::string body) { of(self).SetBody(body); })
      .Method("Move", [of](D& self, com::ComPtr<IDispatch> folder) { return Move(of(self), folder); });
}

}  // namespace

const com::DispatchTable<MailItemObject>& MailItemObject::DispatchMembers() {
  static const auto table =
      ItemMembers<MailItemObject>([](MailItemObject& self) -> host::Item& { return *self.item_; });
  return table;
}

const com::DispatchTable<ContactItemObject>& ContactItemObject::DispatchMembers() {
  using Self = ContactItemObject;
  static const auto table =
      ItemMembers<Self>([](Self& self) -> host::Item& { return *self.contact_; })
          .Property("FullName", [](Self& self) { return self.contact_->FullName(); })
          .Property("CompanyName", [](Self& self) { return self.contact_->CompanyName(); })
          .Property("BusinessTelephoneNumber", [](Self& self) { return self.contact_->BusinessTelephoneNumber(); })
          .Property(
              "Email1Address", [](Self& self) { return self.contact_->Email1Address(); },
              [](Self& self, std::string value) { self.contact_->SetEmail1Address(value); })
          .Property(
              "Email2Address", [](Self& self) { return self.contact_->Email2Address(); },
              [](Self& self, std::string value) { self.contact_->SetEmail2Address(value); })
          .Property(
              "Email3Address", [](Self& self) { return self.contact_->Email3Address(); },
              [](Self& self, std::string value) { self.contact_->SetEmail3Address(value); })
          .Method("Save", [](Self& self) { self.contact_->Save(); })
          .Method("Close", [](Self& self, int mode) { self.contact_->Close(static_cast<host::CloseMode>(mode)); })
          .Method("Copy", [](Self& self) { return MakeItemObject(self.contact_->Copy()); });
  return table;
}

com::ComPtr<IDispatch> MakeItemObject(std::shared_ptr<host::Item> item) {
  if (!item) return nullptr;
  if (auto contact = host::AsContact(item)) return com::Make<ContactItemObject>(std::move(contact));
  return com::Make<MailItemObject>(std::move(item));
}

}  // namespace qor::standin
