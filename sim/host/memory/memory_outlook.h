#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/memory/memory_folder.h"
#include "host/memory/memory_item.h"
#include "host/outlook.h"

namespace qor::host::memory {

// Outlook's object model in memory: stores of folders of items, a session, an explorer and a
// scripted folder picker.
class MemoryOutlook : public host::Application, public std::enable_shared_from_this<MemoryOutlook> {
 public:
  static std::shared_ptr<MemoryOutlook> Create(std::string version = "16.0.0.4266");
  ~MemoryOutlook() override;

  // Adds a store and returns its top-level folder. An empty store id is generated; a store id
  // already open throws std::invalid_argument.
  std::shared_ptr<MemoryFolder> AddStore(const std::string& name, const std::string& storeId = {},
                                         host::ItemType defaultItemType = host::ItemType::Mail);
  // The top-level folder of every store, in the order they were added.
  const std::vector<std::shared_ptr<MemoryFolder>>& Stores() const noexcept { return stores_; }

  // Null: Outlook shows no explorer. Throws std::invalid_argument for a folder of another Outlook.
  void SetActiveExplorerFolder(std::shared_ptr<MemoryFolder> folder);
  std::shared_ptr<MemoryFolder> ActiveExplorerFolder() const { return explorerFolder_; }

  // PickFolder answers in this order; a null answer, like an empty queue, means the user cancelled.
  void QueuePickFolder(std::shared_ptr<MemoryFolder> folder);
  // What PickFolder asks once the queue is empty: a dialog a user answers. None: the user cancelled.
  void SetFolderPicker(std::function<std::shared_ptr<MemoryFolder>()> picker) { picker_ = std::move(picker); }

  // Null when no store carries the id.
  std::shared_ptr<MemoryFolder> FindStore(const std::string& storeId) const;

  // Only "MAPI" (any letter case) is a valid type.
  std::shared_ptr<host::NameSpace> GetNamespace(const std::string& type) override;
  std::shared_ptr<host::NameSpace> Session() override;
  std::shared_ptr<host::Explorer> ActiveExplorer() override;
  std::string Version() override { return version_; }
  const std::string& VersionText() const noexcept { return version_; }

  // For Create only; use Create, which makes the object shared.
  explicit MemoryOutlook(std::string version);

 private:
  class SessionImpl;
  class ExplorerImpl;

  std::shared_ptr<MemoryFolder> NextPickedFolder();

  std::string version_;
  std::vector<std::shared_ptr<MemoryFolder>> stores_;
  std::shared_ptr<MemoryFolder> explorerFolder_;
  std::deque<std::shared_ptr<MemoryFolder>> pickedFolders_;
  std::function<std::shared_ptr<MemoryFolder>()> picker_;
  std::uint32_t generatedStores_ = 0;
  std::unique_ptr<SessionImpl> session_;
  std::unique_ptr<ExplorerImpl> explorer_;
};

}  // namespace qor::host::memory
