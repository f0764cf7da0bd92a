#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

// One address-table entry: exactly four strings.
using TEmailEntry = std::array<std::string, 4>;
using TEmailData = std::vector<TEmailEntry>;

// Columns of an entry.
enum EmailColumn : std::size_t {
  kAddress = 0,         // trimmed and lower-cased
  kMessageEntryId = 1,  // the first scanned item that yielded the address
  kLinkedContacts = 2,  // "path:id,id;path:id" once contacts are matched, fields encoded (linked_contacts.h)
  kExcluded = 3,        // "N" takes part in the actions, "Y" is excluded
};

inline constexpr std::string_view kIncluded = "N";
inline constexpr std::string_view kExcludedMark = "Y";

// The library's one address table, shared by every wizard opened while it is loaded.
TEmailData& olEmailData();

// Sets the exclusion mark, upper-cased, of every entry whose address equals `emailaddress`
// when both are lower-cased.
void MarkEmail(TEmailData& data, std::string_view emailaddress, std::string_view mark);

}  // namespace qor::engine
