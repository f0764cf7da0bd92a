#include "engine/address_set.h"

#include "engine/address_chars.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

constexpr std::size_t kInitialSlots = 1024;  // a power of two

// CaseBlindHash with every bit mixed into the low ones the table indexes by: its own low bits
// vary too little between addresses that differ in a digit or two, and long runs of occupied
// slots formed.
std::size_t HashOf(std::string_view address) noexcept {
  std::uint64_t hash = CaseBlindHash()(address);
  hash = (hash ^ (hash >> 33)) * 0xff51afd7ed558ccdu;
  hash = (hash ^ (hash >> 33)) * 0xc4ceb9fe1a85ec53u;
  return static_cast<std::size_t>(hash ^ (hash >> 33));
}

}  // namespace

std::optional<std::string_view> AddressSet::InsertNew(std::string_view address) {
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const std::size_t hash = HashOf(address);
  Slot& slot = slots_[SlotOf(address, hash)];
  if (slot.size != 0) return std::nullopt;
  const std::size_t offset = text_.size();
  text_ += address;
  for (std::size_t at = offset; at < text_.size(); ++at) text_[at] = LowerAsciiChar(text_[at]);
  slot = {offset, static_cast<std::uint32_t>(address.size()), static_cast<std::uint32_t>(hash)};
  ++count_;
  return Held(slot);
}

std::size_t AddressSet::SlotOf(std::string_view address, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint32_t>(hash);
  std::size_t at = hash & mask;
  for (;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.size == 0 || (slot.hash == tag && SameAddress(Held(slot), address))) return at;
  }
}

void AddressSet::Grow() {
  std::vector<Slot> previous(slots_.empty() ? kInitialSlots : 2 * slots_.size());
  previous.swap(slots_);
  for (const Slot& slot : previous) {
    if (slot.size != 0) slots_[SlotOf(Held(slot), slot.hash)] = slot;
  }
}

}  // namespace qor::engine
