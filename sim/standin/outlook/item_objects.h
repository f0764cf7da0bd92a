#pragma once

// Outlook items over the host's items: MailItem (also reports and notes, which answer the same
// members the add-in reads) and ContactItem. Made fresh on every call; an object that stood for
// an item before it moved fails as Outlook's would.

#include <oaidl.h>

#include <memory>
#include <string>

#include "com/com_object.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_ids.h"

namespace qor::standin {

class MailItemObject final : public com::ComObject<MailItemObject, office::CountedDispatch<MailItemObject>> {
 public:
  // Named by its type info, as Outlook's items are.
  static constexpr IID kDispatchIid = ids::kMailItem;

  explicit MailItemObject(std::shared_ptr<host::Item> item) noexcept : item_(std::move(item)) {}
  static const com::DispatchTable<MailItemObject>& DispatchMembers();

 private:
  std::shared_ptr<host::Item> item_;
};

class ContactItemObject final : public com::ComObject<ContactItemObject, office::CountedDispatch<ContactItemObject>> {
 public:
  static constexpr IID kDispatchIid = ids::kContactItem;

  explicit ContactItemObject(std::shared_ptr<host::ContactItem> contact) noexcept : contact_(std::move(contact)) {}
  static const com::DispatchTable<ContactItemObject>& DispatchMembers();

 private:
  std::shared_ptr<host::ContactItem> contact_;
};

// The item's Subject; DISP_E_MEMBERNOTFOUND for an item the in-memory Outlook did not make.
std::string SubjectOf(const host::Item& item);

// A ContactItem for contacts, a MailItem for anything else; null for a null item.
com::ComPtr<IDispatch> MakeItemObject(std::shared_ptr<host::Item> item);

}  // namespace qor::standin
