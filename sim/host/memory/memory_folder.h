#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/memory/item_list.h"
#include "host/memory/memory_item.h"
#include "host/memory/memory_store.h"
#include "host/outlook.h"

namespace qor::host::memory {

class MemoryFolder : public host::Folder, public std::enable_shared_from_this<MemoryFolder> {
 public:
  // Folders are made by MemoryOutlook::AddStore and AddFolder; a null parent makes a top-level folder.
  MemoryFolder(std::string name, host::ItemType defaultItemType, std::shared_ptr<MemoryStore> store,
               const std::shared_ptr<MemoryFolder>& parent);

  // Throws std::invalid_argument when a subfolder of that name (ignoring case) exists.
  std::shared_ptr<MemoryFolder> AddFolder(const std::string& name, host::ItemType defaultItemType);
  // Any class but Contact. An empty entry id is generated; a taken one throws std::invalid_argument.
  std::shared_ptr<MemoryItem> AddMail(std::string body, std::string subject = {},
                                      host::ItemClass itemClass = host::ItemClass::Mail, std::string entryId = {});
  std::shared_ptr<MemoryContact> AddContact(const ContactFields& fields, std::string entryId = {});

  std::string Name() override { return name_; }
  std::shared_ptr<host::Folder> Parent() override { return ParentFolder(); }
  std::shared_ptr<host::Folders> Folders() override;
  std::shared_ptr<host::Items> Items() override;
  std::string EntryID() override { return entryId_; }
  std::string StoreID() override { return store_->Id(); }
  host::ItemType DefaultItemType() override { return defaultItemType_; }
  std::vector<host::ContactAddresses> ContactAddressList() override;

  const std::string& DisplayName() const noexcept { return name_; }
  const std::string& StoreId() const noexcept { return store_->Id(); }
  host::ItemType ItemTypeByDefault() const noexcept { return defaultItemType_; }
  // Null for a top-level folder: its parent is the session, not a folder.
  std::shared_ptr<MemoryFolder> ParentFolder() const { return parent_.lock(); }
  const std::vector<std::shared_ptr<MemoryFolder>>& Subfolders() const noexcept { return subfolders_; }
  // Null when the name (ignoring case) names no subfolder.
  std::shared_ptr<MemoryFolder> FindSubfolder(const std::string& name) const;
  std::size_t ItemCount() const noexcept { return items_.Count(); }
  // 1-based; outside 1..ItemCount throws HostError.
  std::shared_ptr<MemoryItem> ItemAt(int index);
  std::vector<std::shared_ptr<MemoryItem>> ItemsInOrder() const;
  std::shared_ptr<MemoryItem> FindItem(const std::string& entryId) const { return store_->FindItem(entryId); }
  bool SameOutlook(const MemoryFolder& other) const noexcept { return store_->SameOutlook(*other.store_); }

  template <typename Visit>
  void ForEachItem(Visit&& visit) const {
    items_.ForEach(visit);
  }

 private:
  friend class MemoryItem;

  std::shared_ptr<MemoryItem> Adopt(std::shared_ptr<MemoryItem> item);
  std::shared_ptr<MemoryItem> AddDuplicateOf(const MemoryItem& item);
  void Detach(const MemoryItem& item);
  std::string TakeEntryId(std::string entryId);

  std::string name_;
  host::ItemType defaultItemType_;
  std::shared_ptr<MemoryStore> store_;
  std::weak_ptr<MemoryFolder> parent_;
  std::string entryId_;
  std::vector<std::shared_ptr<MemoryFolder>> subfolders_;
  ItemList items_;
};

}  // namespace qor::host::memory
