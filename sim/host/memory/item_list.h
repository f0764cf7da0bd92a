#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace qor::host::memory {

class MemoryItem;

// The items of one folder in order. Count and Append are O(1), Remove is amortised O(log n),
// At is O(1) while nothing was removed since the last compaction and O(log n) otherwise, so
// moving 100,000 messages out one by one stays fast whatever the order.
class ItemList {
 public:
  std::size_t Count() const noexcept { return count_; }
  void Append(std::shared_ptr<MemoryItem> item);
  void Remove(const MemoryItem& item);
  // 0-based among the present items; index < Count().
  const std::shared_ptr<MemoryItem>& At(std::size_t index);

  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const auto& slot : slots_) {
      if (slot) visit(slot);
    }
  }

 private:
  void Compact();
  void BuildTree();
  std::size_t Prefix(std::size_t position) const noexcept;

  // Removed items leave an empty slot until more than half the slots are empty.
  std::vector<std::shared_ptr<MemoryItem>> slots_;
  std::size_t count_ = 0;
  // Fenwick tree over slot occupancy (1-based), kept only while empty slots exist.
  std::vector<std::size_t> tree_;
  bool treeValid_ = false;
};

}  // namespace qor::host::memory
