#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace qor::host::memory {

class MemoryItem;
class MemoryOutlook;

// One store's identity and its entry ids: unique within the store, found in O(1).
class MemoryStore {
 public:
  MemoryStore(std::string storeId, std::weak_ptr<MemoryOutlook> outlook);

  const std::string& Id() const noexcept { return id_; }
  bool SameOutlook(const MemoryStore& other) const noexcept;

  // 48 hex digits like Outlook's, derived from the store id and a counter; never one already taken.
  std::string NewEntryId();
  // Throws std::invalid_argument when an item or folder of this store already carries the id.
  void AddItem(const std::string& entryId, const std::shared_ptr<MemoryItem>& item);
  void AddFolder(const std::string& entryId);
  void RemoveItem(const std::string& entryId) noexcept;
  // Null when no item of this store carries the id.
  std::shared_ptr<MemoryItem> FindItem(const std::string& entryId) const;

 private:
  bool IsTaken(const std::string& entryId) const;
  void Claim(const std::string& entryId) const;

  std::string id_;
  std::weak_ptr<MemoryOutlook> outlook_;
  std::string idPrefix_;
  std::uint64_t counter_ = 0;
  std::unordered_map<std::string, std::weak_ptr<MemoryItem>> items_;
  std::unordered_set<std::string> folders_;
};

}  // namespace qor::host::memory
