#include "engine/address_set.h"

#include <limits>
#include <stdexcept>

#include "engine/address_chars.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

constexpr std::size_t kInitialSlots = 1024;  // a power of two, at most 2^32

// CaseBlindHash with every bit mixed into the low ones the table indexes by: its own low bits
// vary too little between addresses that differ in a digit or two, and long runs of occupied
// slots formed.
std::uint32_t HashOf(std::string_view address) noexcept {
  std::uint64_t hash = CaseBlindHash()(address);
  hash = (hash ^ (hash >> 33)) * 0xff51afd7ed558ccdu;
  hash = (hash ^ (hash >> 33)) * 0xc4ceb9fe1a85ec53u;
  return static_cast<std::uint32_t>(hash ^ (hash >> 33));
}

}  // namespace

AddressSet::Inserted AddressSet::Insert(std::string_view address) {
  if (2 * (ends_.size() + 1) > slots_.size()) Grow();
  const std::uint32_t hash = HashOf(address);
  Slot& slot = slots_[SlotOf(address, hash)];
  if (slot.index != 0) return {slot.index - 1, Held(slot.index - 1), false};
  const std::size_t offset = text_.size();
  text_ += address;
  for (std::size_t at = offset; at < text_.size(); ++at) text_[at] = LowerAsciiChar(text_[at]);
  ends_.push_back(text_.size());
  slot = {hash, static_cast<std::uint32_t>(ends_.size())};
  return {ends_.size() - 1, Held(ends_.size() - 1), true};
}

std::string_view AddressSet::Held(std::size_t index) const noexcept {
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(text_).substr(begin, ends_[index] - begin);
}

std::size_t AddressSet::SlotOf(std::string_view address, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.index == 0 || (slot.hash == hash && SameAddress(Held(slot.index - 1), address))) return at;
  }
}

void AddressSet::Grow() {
  if (slots_.size() > std::numeric_limits<std::uint32_t>::max() / 2) throw std::length_error("too many addresses");
  std::vector<Slot> previous(slots_.empty() ? kInitialSlots : 2 * slots_.size());
  previous.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : previous) {
    if (slot.index == 0) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].index != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace qor::engine
