#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

// Where one address of Extract's result stands in the text.
struct AddressOccurrence {
  std::size_t offset;   // of its first byte in the text
  std::size_t address;  // its index in Extract's result
};

// Finds the addresses of texts, keeping its buffers from one text to the next, so that a scan
// of many texts allocates nothing once they have grown to the largest.
class AddressExtractor {
 public:
  // Every address in `Emails` (UTF-8): each maximal run of address characters (address_chars.h)
  // that holds an at sign, without the full stops and quotes at its ends, when it has 5 or more
  // characters and no glue character touches it; once ignoring the case of A to Z (the form met
  // first wins), sorted by CompareAddressText. Nothing after a NUL is scanned. The views point
  // into `Emails`; the next call refills the vector.
  const std::vector<std::string_view>& Extract(std::string_view Emails);
  // Every place the last Extract took an address from, in the order of the text.
  const std::vector<AddressOccurrence>& Occurrences() const noexcept { return occurrences_; }

 private:
  // The index in found_ of `address`, added when no form of it was found before.
  std::size_t AddIfNew(std::string_view address);
  // Sorts found_ by CompareAddressText and renumbers the occurrences to match.
  void SortFound();
  // The slot holding the form of `address` met first, or the free one it would take.
  std::size_t SlotOf(std::string_view address) const;
  void Grow();

  std::vector<std::string_view> found_;
  // An open-addressing hash table of the addresses found so far in this text, ignoring case:
  // each slot holds an index into found_, or kFree.
  std::vector<std::size_t> slots_;
  std::vector<AddressOccurrence> occurrences_;
  // SortFound's buffers.
  std::vector<std::size_t> order_;
  std::vector<std::size_t> rank_;
  std::vector<std::string_view> sorted_;
};

// The addresses AddressExtractor finds in `Emails`, with CR LF after every line.
std::string ExtractEMails(std::string_view Emails);

}  // namespace qor::engine
