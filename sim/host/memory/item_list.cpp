#include "host/memory/item_list.h"

#include <stdexcept>
#include <utility>

#include "host/memory/memory_item.h"

namespace qor::host::memory {
namespace {

constexpr std::size_t LowBit(std::size_t value) noexcept { return value & (~value + 1); }

}  // namespace

void ItemList::Append(std::shared_ptr<MemoryItem> item) {
  item->slot_ = slots_.size();
  slots_.push_back(std::move(item));
  ++count_;
  if (treeValid_) {
    const std::size_t position = slots_.size();
    tree_.push_back(1 + Prefix(position - 1) - Prefix(position - LowBit(position)));
  }
}

void ItemList::Remove(const MemoryItem& item) {
  const std::size_t slot = item.slot_;
  if (slot >= slots_.size() || slots_[slot].get() != &item) throw std::logic_error("item is not in this folder");
  slots_[slot].reset();
  --count_;
  if (treeValid_) {
    for (std::size_t position = slot + 1; position < tree_.size(); position += LowBit(position)) --tree_[position];
  }
  // Empty slots at the end cost nothing to drop, and the tree stays valid without them.
  while (!slots_.empty() && !slots_.back()) {
    slots_.pop_back();
    if (treeValid_) tree_.pop_back();
  }
  if (slots_.size() - count_ > count_) Compact();
}

const std::shared_ptr<MemoryItem>& ItemList::At(std::size_t index) {
  if (slots_.size() == count_) return slots_[index];
  if (!treeValid_) BuildTree();
  std::size_t step = 1;
  while (step * 2 < tree_.size()) step *= 2;
  std::size_t position = 0;
  std::size_t remaining = index + 1;
  for (; step > 0; step /= 2) {
    if (position + step < tree_.size() && tree_[position + step] < remaining) {
      position += step;
      remaining -= tree_[position];
    }
  }
  return slots_[position];
}

void ItemList::Compact() {
  std::size_t next = 0;
  for (auto& slot : slots_) {
    if (!slot) continue;
    slot->slot_ = next;
    if (&slots_[next] != &slot) slots_[next] = std::move(slot);
    ++next;
  }
  slots_.resize(next);
  tree_.clear();
  treeValid_ = false;
}

void ItemList::BuildTree() {
  tree_.assign(slots_.size() + 1, 0);
  for (std::size_t position = 1; position < tree_.size(); ++position) {
    tree_[position] += slots_[position - 1] ? 1 : 0;
    const std::size_t parent = position + LowBit(position);
    if (parent < tree_.size()) tree_[parent] += tree_[position];
  }
  treeValid_ = true;
}

std::size_t ItemList::Prefix(std::size_t position) const noexcept {
  std::size_t sum = 0;
  for (; position > 0; position -= LowBit(position)) sum += tree_[position];
  return sum;
}

}  // namespace qor::host::memory
