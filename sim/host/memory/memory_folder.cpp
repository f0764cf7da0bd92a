#include "host/memory/memory_folder.h"

#include <stdexcept>
#include <utility>

#include "host/contact_addresses.h"
#include "host/memory/host_messages.h"
#include "host/memory/memory_collections.h"
#include "platform/case_blind.h"

namespace qor::host::memory {

MemoryFolder::MemoryFolder(std::string name, host::ItemType defaultItemType, std::shared_ptr<MemoryStore> store,
                           const std::shared_ptr<MemoryFolder>& parent)
    : name_(std::move(name)), defaultItemType_(defaultItemType), store_(std::move(store)), parent_(parent) {
  entryId_ = store_->NewEntryId();
  store_->AddFolder(entryId_);
}

std::shared_ptr<MemoryFolder> MemoryFolder::AddFolder(const std::string& name, host::ItemType defaultItemType) {
  if (FindSubfolder(name)) {
    throw std::invalid_argument("a folder named \"" + name + "\" already exists in \"" + name_ + "\"");
  }
  auto folder = std::make_shared<MemoryFolder>(name, defaultItemType, store_, shared_from_this());
  subfolders_.push_back(folder);
  return folder;
}

std::shared_ptr<MemoryFolder> MemoryFolder::FindSubfolder(const std::string& name) const {
  for (const auto& folder : subfolders_) {
    if (platform::SameTextIgnoringCase(folder->name_, name)) return folder;
  }
  return nullptr;
}

std::string MemoryFolder::TakeEntryId(std::string entryId) {
  return entryId.empty() ? store_->NewEntryId() : std::move(entryId);
}

std::shared_ptr<MemoryItem> MemoryFolder::Adopt(std::shared_ptr<MemoryItem> item) {
  store_->AddItem(item->entryId_, item);
  items_.Append(item);
  return item;
}

std::shared_ptr<MemoryItem> MemoryFolder::AddMail(std::string body, std::string subject, host::ItemClass itemClass,
                                                  std::string entryId) {
  if (itemClass == host::ItemClass::Contact) throw std::invalid_argument("a contact is added with AddContact");
  return Adopt(std::make_shared<MemoryItem>(itemClass, TakeEntryId(std::move(entryId)), std::move(subject),
                                            std::move(body), weak_from_this()));
}

std::shared_ptr<MemoryContact> MemoryFolder::AddContact(const ContactFields& fields, std::string entryId) {
  auto contact = std::make_shared<MemoryContact>(TakeEntryId(std::move(entryId)), fields, weak_from_this());
  Adopt(contact);
  return contact;
}

std::shared_ptr<MemoryItem> MemoryFolder::AddDuplicateOf(const MemoryItem& item) {
  return Adopt(item.Duplicate(store_->NewEntryId(), weak_from_this()));
}

void MemoryFolder::Detach(const MemoryItem& item) {
  items_.Remove(item);
  store_->RemoveItem(item.entryId_);
}

std::shared_ptr<MemoryItem> MemoryFolder::ItemAt(int index) {
  if (index < 1 || static_cast<std::size_t>(index) > items_.Count()) throw HostError(messages::kIndexOutOfBounds);
  return items_.At(static_cast<std::size_t>(index) - 1);
}

std::vector<std::shared_ptr<MemoryItem>> MemoryFolder::ItemsInOrder() const {
  std::vector<std::shared_ptr<MemoryItem>> result;
  result.reserve(items_.Count());
  items_.ForEach([&result](const std::shared_ptr<MemoryItem>& item) { result.push_back(item); });
  return result;
}

std::shared_ptr<host::Folders> MemoryFolder::Folders() {
  return std::make_shared<MemoryFolders>(
      std::shared_ptr<const std::vector<std::shared_ptr<MemoryFolder>>>(shared_from_this(), &subfolders_));
}

std::shared_ptr<host::Items> MemoryFolder::Items() { return std::make_shared<FolderItems>(shared_from_this()); }

std::vector<host::ContactAddresses> MemoryFolder::ContactAddressList() { return host::ContactAddressesOf(*Items()); }

}  // namespace qor::host::memory
