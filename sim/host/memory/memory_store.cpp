#include "host/memory/memory_store.h"

#include <stdexcept>

namespace qor::host::memory {
namespace {

std::uint64_t Fnv1a(const std::string& text, std::uint64_t hash) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

void AppendHex(std::string& out, std::uint64_t value, int digits) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

}  // namespace

MemoryStore::MemoryStore(std::string storeId, std::weak_ptr<MemoryOutlook> outlook)
    : id_(std::move(storeId)), outlook_(std::move(outlook)) {
  // Outlook's entry ids start with four zero flag bytes, then the store's provider id.
  idPrefix_ = "00000000";
  AppendHex(idPrefix_, Fnv1a(id_, 0xcbf29ce484222325ULL), 16);
  AppendHex(idPrefix_, Fnv1a(id_, 0x84222325cbf29ce4ULL), 16);
}

bool MemoryStore::SameOutlook(const MemoryStore& other) const noexcept {
  return !outlook_.owner_before(other.outlook_) && !other.outlook_.owner_before(outlook_);
}

std::string MemoryStore::NewEntryId() {
  for (;;) {
    ++counter_;
    std::string id = idPrefix_;
    AppendHex(id, counter_, counter_ > 0xFFFFFFFFULL ? 16 : 8);
    if (!IsTaken(id)) return id;
  }
}

bool MemoryStore::IsTaken(const std::string& entryId) const {
  return items_.contains(entryId) || folders_.contains(entryId);
}

void MemoryStore::Claim(const std::string& entryId) const {
  if (entryId.empty()) throw std::invalid_argument("an entry id must not be empty");
  if (IsTaken(entryId)) {
    throw std::invalid_argument("duplicate entry id \"" + entryId + "\" in store \"" + id_ + "\"");
  }
}

void MemoryStore::AddItem(const std::string& entryId, const std::shared_ptr<MemoryItem>& item) {
  Claim(entryId);
  items_.emplace(entryId, item);
}

void MemoryStore::AddFolder(const std::string& entryId) {
  Claim(entryId);
  folders_.insert(entryId);
}

void MemoryStore::RemoveItem(const std::string& entryId) noexcept { items_.erase(entryId); }

std::shared_ptr<MemoryItem> MemoryStore::FindItem(const std::string& entryId) const {
  const auto found = items_.find(entryId);
  return found == items_.end() ? nullptr : found->second.lock();
}

}  // namespace qor::host::memory
