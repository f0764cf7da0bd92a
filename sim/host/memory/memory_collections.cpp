#include "host/memory/memory_collections.h"

#include <utility>

#include "host/memory/host_messages.h"
#include "host/memory/memory_folder.h"
#include "host/memory/restrict_filter.h"
#include "platform/case_blind.h"

namespace qor::host::memory {

MemoryFolders::MemoryFolders(std::shared_ptr<const std::vector<std::shared_ptr<MemoryFolder>>> folders)
    : folders_(std::move(folders)) {}

int MemoryFolders::Count() { return static_cast<int>(folders_->size()); }

std::shared_ptr<host::Folder> MemoryFolders::Item(int index) {
  if (index < 1 || index > Count()) throw HostError(messages::kIndexOutOfBounds);
  return (*folders_)[static_cast<std::size_t>(index) - 1];
}

std::shared_ptr<host::Folder> MemoryFolders::Item(const std::string& name) {
  for (const auto& folder : *folders_) {
    if (platform::SameTextIgnoringCase(folder->DisplayName(), name)) return folder;
  }
  throw HostError(messages::kObjectNotFound);
}

std::shared_ptr<host::Item> CursorItems::GetFirst() {
  cursor_ = 0;
  return GetNext();
}

std::shared_ptr<host::Item> CursorItems::GetNext() {
  const int count = Count();
  if (cursor_ >= count) {
    cursor_ = count;
    return nullptr;
  }
  return Item(++cursor_);
}

FolderItems::FolderItems(std::shared_ptr<MemoryFolder> folder) : folder_(std::move(folder)) {}

int FolderItems::Count() { return static_cast<int>(folder_->ItemCount()); }

std::shared_ptr<host::Item> FolderItems::Item(int index) { return folder_->ItemAt(index); }

std::shared_ptr<host::Items> FolderItems::Restrict(const std::string& filter) {
  const RestrictFilter condition(filter);
  std::vector<std::shared_ptr<MemoryItem>> matches;
  folder_->ForEachItem([&](const std::shared_ptr<MemoryItem>& item) {
    if (condition.Matches(*item)) matches.push_back(item);
  });
  return std::make_shared<ItemSnapshot>(std::move(matches));
}

ItemSnapshot::ItemSnapshot(std::vector<std::shared_ptr<MemoryItem>> items) : items_(std::move(items)) {}

int ItemSnapshot::Count() { return static_cast<int>(items_.size()); }

std::shared_ptr<host::Item> ItemSnapshot::Item(int index) {
  if (index < 1 || index > Count()) throw HostError(messages::kIndexOutOfBounds);
  return items_[static_cast<std::size_t>(index) - 1];
}

std::shared_ptr<host::Items> ItemSnapshot::Restrict(const std::string& filter) {
  const RestrictFilter condition(filter);
  std::vector<std::shared_ptr<MemoryItem>> matches;
  for (const auto& item : items_) {
    // An item moved away since the snapshot was taken is no longer in the collection's folder.
    if (!item->IsStale() && condition.Matches(*item)) matches.push_back(item);
  }
  return std::make_shared<ItemSnapshot>(std::move(matches));
}

}  // namespace qor::host::memory
