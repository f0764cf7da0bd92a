#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

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

 private:
  void AddIfNew(std::string_view address);
  // The slot holding the form of `address` met first, or the free one it would take.
  std::size_t SlotOf(std::string_view address) const;
  void Grow();

  std::vector<std::string_view> found_;
  // An open-addressing hash table of the addresses found so far in this text, ignoring case:
  // each slot holds an index into found_, or kFree.
  std::vector<std::size_t> slots_;
};

// The addresses AddressExtractor finds in `Emails`, with CR LF after every line.
std::string ExtractEMails(std::string_view Emails);

}  // namespace qor::engine
