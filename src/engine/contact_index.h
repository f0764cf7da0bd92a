#pragma once

// The contacts of one folder by e-mail address, read in one pass over the folder (the three e-mail
// fields and the entry id of every contact, in as few calls as the host allows). A lookup answers
// what the restriction [Email1Address] = "a" or [Email2Address] = "a" or [Email3Address] = "a"
// yields: the contacts whose field holds the whole address, ignoring ASCII letter case, in the
// folder's order, each once.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/outlook.h"

namespace qor::engine {

class ContactIndex {
 public:
  explicit ContactIndex(host::Folder& folder);

  // The entry ids of the contacts carrying `address`, encoded and joined by ","; empty when none.
  std::string JoinedEntryIds(std::string_view address) const;

  std::size_t ContactCount() const noexcept { return entryIds_.size(); }

 private:
  void Add(const std::string& address, std::uint32_t contact);

  std::vector<std::string> entryIds_;  // folder order
  // Folded address -> the positions of the contacts carrying it, ascending and each once.
  std::unordered_map<std::string, std::vector<std::uint32_t>> contactsByAddress_;
};

}  // namespace qor::engine
