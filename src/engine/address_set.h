#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

// The addresses a scan has met, each once whatever the case of A to Z. They are kept lower-cased
// back to back in one buffer and found through an open-addressing table of eight-byte slots, so a
// scan of a million messages makes a few large blocks instead of a node and a string per address,
// and looking up a new address touches one slot of a table half the size of the addresses.
class AddressSet {
 public:
  struct Inserted {
    std::size_t index;      // of the address among those held, in the order they were met
    std::string_view held;  // its lower-cased form, valid until the next call
    bool isNew;             // no form of it was held before
  };

  // Adds `address`, text of AddressExtractor, unless a form of it is held already.
  Inserted Insert(std::string_view address);

 private:
  struct Slot {
    std::uint32_t hash;   // the hash's low bits, to pass over most others without reading them
    std::uint32_t index;  // 1 + the address's index in ends_; 0: free
  };

  std::string_view Held(std::size_t index) const noexcept;
  // The slot holding a form of `address`, or the free one it would take.
  std::size_t SlotOf(std::string_view address, std::uint32_t hash) const;
  void Grow();

  std::string text_;
  std::vector<std::size_t> ends_;  // where each address held ends in text_
  std::vector<Slot> slots_;
};

}  // namespace qor::engine
