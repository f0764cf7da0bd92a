#include "host/memory/memory_item.h"

#include <utility>

#include "host/memory/host_messages.h"
#include "host/memory/memory_folder.h"

namespace qor::host::memory {

MemoryItem::MemoryItem(host::ItemClass itemClass, std::string entryId, std::string subject, std::string body,
                       std::weak_ptr<MemoryFolder> folder)
    : class_(itemClass),
      entryId_(std::move(entryId)),
      subject_(std::move(subject)),
      body_(std::move(body)),
      folder_(std::move(folder)) {}

void MemoryItem::CheckUsable() const {
  if (failure_) throw HostError(*failure_);
  if (stale_) throw HostError(messages::kItemMovedOrDeleted);
}

std::shared_ptr<MemoryFolder> MemoryItem::UsableFolder() const {
  CheckUsable();
  auto folder = folder_.lock();
  if (!folder) throw HostError(messages::kOperationFailed);
  return folder;
}

host::ItemClass MemoryItem::Class() const {
  CheckUsable();
  return class_;
}

std::string MemoryItem::EntryID() const {
  CheckUsable();
  return entryId_;
}

std::string MemoryItem::Body() const {
  CheckUsable();
  return body_;
}

void MemoryItem::SetBody(const std::string& body) {
  CheckUsable();
  body_ = body;
}

std::string MemoryItem::Subject() const {
  CheckUsable();
  return subject_;
}

void MemoryItem::FailWith(std::string message) { failure_ = std::move(message); }

std::shared_ptr<host::Item> MemoryItem::Move(host::Folder& destination) {
  const auto source = UsableFolder();
  auto* target = dynamic_cast<MemoryFolder*>(&destination);
  if (target == nullptr || !target->store_->SameOutlook(*source->store_)) throw HostError(messages::kCannotMoveItems);
  SavePending();
  auto moved = target->AddDuplicateOf(*this);
  source->Detach(*this);
  stale_ = true;
  return moved;
}

std::shared_ptr<MemoryItem> MemoryItem::CopyHere() {
  const auto folder = UsableFolder();
  SavePending();
  return folder->AddDuplicateOf(*this);
}

std::shared_ptr<MemoryItem> MemoryItem::Duplicate(std::string entryId, std::weak_ptr<MemoryFolder> folder) const {
  return std::make_shared<MemoryItem>(class_, std::move(entryId), subject_, body_, std::move(folder));
}

MemoryContact::MemoryContact(std::string entryId, ContactFields fields, std::weak_ptr<MemoryFolder> folder)
    : MemoryItem(host::ItemClass::Contact, std::move(entryId), {}, {}, std::move(folder)),
      saved_(fields),
      current_(std::move(fields)) {}

const ContactFields& MemoryContact::Current() const {
  CheckUsable();
  return current_;
}

ContactFields& MemoryContact::Editable() {
  CheckUsable();
  return current_;
}

std::string MemoryContact::Body() const { return Current().body; }
void MemoryContact::SetBody(const std::string& body) { Editable().body = body; }
std::string MemoryContact::Subject() const { return Current().fullName; }
std::string MemoryContact::FullName() const { return Current().fullName; }
std::string MemoryContact::CompanyName() const { return Current().companyName; }
std::string MemoryContact::BusinessTelephoneNumber() const { return Current().businessTelephoneNumber; }
std::string MemoryContact::Email1Address() const { return Current().email1Address; }
std::string MemoryContact::Email2Address() const { return Current().email2Address; }
std::string MemoryContact::Email3Address() const { return Current().email3Address; }
void MemoryContact::SetEmail1Address(const std::string& value) { Editable().email1Address = value; }
void MemoryContact::SetEmail2Address(const std::string& value) { Editable().email2Address = value; }
void MemoryContact::SetEmail3Address(const std::string& value) { Editable().email3Address = value; }

void MemoryContact::Save() {
  CheckUsable();
  if (saveLimit_ && saves_ >= *saveLimit_) throw HostError(messages::kOperationFailed);
  ++saves_;
  SavePending();
}

void MemoryContact::Close(host::CloseMode mode) {
  CheckUsable();
  switch (mode) {
    case host::CloseMode::Save:
      saved_ = current_;
      return;
    case host::CloseMode::Discard:
      current_ = saved_;
      return;
  }
  throw HostError(messages::kInvalidParameter);
}

std::shared_ptr<host::ContactItem> MemoryContact::Copy() { return std::static_pointer_cast<MemoryContact>(CopyHere()); }

std::shared_ptr<MemoryItem> MemoryContact::Duplicate(std::string entryId, std::weak_ptr<MemoryFolder> folder) const {
  return std::make_shared<MemoryContact>(std::move(entryId), saved_, std::move(folder));
}

std::string_view MessageClassOf(host::ItemClass itemClass) {
  switch (itemClass) {
    case host::ItemClass::Contact:
      return "IPM.Contact";
    case host::ItemClass::Note:
      return "IPM.StickyNote";
    case host::ItemClass::Report:
      return "REPORT.IPM.Note.NDR";
    case host::ItemClass::Mail:
      break;
  }
  return "IPM.Note";
}

}  // namespace qor::host::memory
