#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

// The addresses a scan has met, each once whatever the case of A to Z. They are kept lower-cased
// back to back in one buffer and found through an open-addressing table of their places, so a
// scan of a million messages makes a few large blocks instead of a node and a string per address,
// and a lookup touches one slot and one run of the buffer.
class AddressSet {
 public:
  // Adds `address`, text of AddressExtractor, unless a form of it is held already: the
  // lower-cased form now held, valid until the next call; nullopt when it was met before.
  std::optional<std::string_view> InsertNew(std::string_view address);

 private:
  struct Slot {
    std::uint64_t offset;
    std::uint32_t size;  // 0: free (no address is empty)
    std::uint32_t hash;  // the hash's low bits, to pass over most others without reading them
  };

  std::string_view Held(const Slot& slot) const noexcept { return {text_.data() + slot.offset, slot.size}; }
  // The slot holding a form of `address`, or the free one it would take.
  std::size_t SlotOf(std::string_view address, std::size_t hash) const;
  void Grow();

  std::string text_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace qor::engine
