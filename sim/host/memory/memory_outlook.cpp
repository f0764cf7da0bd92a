#include "host/memory/memory_outlook.h"

#include <stdexcept>
#include <utility>

#include "platform/ascii_case.h"
#include "host/memory/host_messages.h"
#include "host/memory/memory_collections.h"

namespace qor::host::memory {

// The objects below live inside MemoryOutlook; the pointers handed out share its ownership.
class MemoryOutlook::SessionImpl final : public host::NameSpace {
 public:
  explicit SessionImpl(MemoryOutlook& outlook) : outlook_(outlook) {}

  std::shared_ptr<host::Folders> Folders() override {
    return std::make_shared<MemoryFolders>(std::shared_ptr<const std::vector<std::shared_ptr<MemoryFolder>>>(
        outlook_.shared_from_this(), &outlook_.stores_));
  }

  std::shared_ptr<host::Folder> PickFolder() override { return outlook_.NextPickedFolder(); }

  std::shared_ptr<host::Item> GetItemFromID(const std::string& entryId, const std::string& storeId) override {
    if (!storeId.empty()) {
      const auto store = outlook_.FindStore(storeId);
      if (!store) throw HostError(messages::kObjectNotFound);
      if (auto item = store->FindItem(entryId)) return item;
    } else {
      for (const auto& store : outlook_.stores_) {
        if (auto item = store->FindItem(entryId)) return item;
      }
    }
    throw HostError(messages::kCannotOpenItem);
  }

  std::shared_ptr<host::Folder> GetFolderFromID(const std::string& entryId, const std::string& storeId) override {
    for (const auto& store : outlook_.stores_) {
      if (!storeId.empty() && store->StoreId() != storeId) continue;
      if (auto folder = FindFolder(store, entryId)) return folder;
    }
    throw HostError(messages::kObjectNotFound);
  }

 private:
  static std::shared_ptr<MemoryFolder> FindFolder(const std::shared_ptr<MemoryFolder>& folder,
                                                  const std::string& entryId) {
    if (folder->EntryID() == entryId) return folder;
    for (const auto& subfolder : folder->Subfolders()) {
      if (auto found = FindFolder(subfolder, entryId)) return found;
    }
    return nullptr;
  }

  MemoryOutlook& outlook_;
};

class MemoryOutlook::ExplorerImpl final : public host::Explorer {
 public:
  explicit ExplorerImpl(MemoryOutlook& outlook) : outlook_(outlook) {}
  std::shared_ptr<host::Folder> CurrentFolder() override { return outlook_.explorerFolder_; }

 private:
  MemoryOutlook& outlook_;
};

std::shared_ptr<MemoryOutlook> MemoryOutlook::Create(std::string version) {
  return std::make_shared<MemoryOutlook>(std::move(version));
}

MemoryOutlook::MemoryOutlook(std::string version)
    : version_(std::move(version)),
      session_(std::make_unique<SessionImpl>(*this)),
      explorer_(std::make_unique<ExplorerImpl>(*this)) {}

MemoryOutlook::~MemoryOutlook() = default;

std::shared_ptr<MemoryFolder> MemoryOutlook::AddStore(const std::string& name, const std::string& storeId,
                                                      host::ItemType defaultItemType) {
  std::string id = storeId;
  if (id.empty()) {
    // Outlook's store ids carry the store provider's id; this one is MSPST's.
    constexpr char kHex[] = "0123456789ABCDEF";
    do {
      const std::uint32_t ordinal = ++generatedStores_;
      id = "0000000038A1BB1005E5101AA1BB08002B2A56C2";
      for (int shift = 28; shift >= 0; shift -= 4) id += kHex[(ordinal >> shift) & 0xF];
    } while (FindStore(id));
  } else if (FindStore(id)) {
    throw std::invalid_argument("duplicate store id \"" + id + "\"");
  }
  auto store = std::make_shared<MemoryStore>(id, weak_from_this());
  auto folder = std::make_shared<MemoryFolder>(name, defaultItemType, std::move(store), nullptr);
  stores_.push_back(folder);
  return folder;
}

std::shared_ptr<MemoryFolder> MemoryOutlook::FindStore(const std::string& storeId) const {
  for (const auto& store : stores_) {
    if (store->StoreId() == storeId) return store;
  }
  return nullptr;
}

void MemoryOutlook::SetActiveExplorerFolder(std::shared_ptr<MemoryFolder> folder) {
  if (folder && (stores_.empty() || !folder->SameOutlook(*stores_.front()))) {
    throw std::invalid_argument("the explorer's folder must belong to this Outlook");
  }
  explorerFolder_ = std::move(folder);
}

void MemoryOutlook::QueuePickFolder(std::shared_ptr<MemoryFolder> folder) {
  pickedFolders_.push_back(std::move(folder));
}

std::shared_ptr<MemoryFolder> MemoryOutlook::NextPickedFolder() {
  if (pickedFolders_.empty()) return picker_ ? picker_() : nullptr;
  auto folder = std::move(pickedFolders_.front());
  pickedFolders_.pop_front();
  return folder;
}

std::shared_ptr<host::NameSpace> MemoryOutlook::GetNamespace(const std::string& type) {
  if (!platform::EqualsIgnoringAsciiCase(type, "MAPI")) throw HostError(messages::kInvalidParameter);
  return Session();
}

std::shared_ptr<host::NameSpace> MemoryOutlook::Session() {
  return std::shared_ptr<host::NameSpace>(shared_from_this(), session_.get());
}

std::shared_ptr<host::Explorer> MemoryOutlook::ActiveExplorer() {
  if (!explorerFolder_) return nullptr;
  return std::shared_ptr<host::Explorer>(shared_from_this(), explorer_.get());
}

}  // namespace qor::host::memory
