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

// How an action reads the exclusion mark. The program writes "N" and "Y" as they stand, so the
// readings agree on every table it makes; they differ only on a mark from elsewhere, where each
// action keeps the reading its design gives it: the contact address deletion trims, the export
// files trim and upper-case, the found list, the notes, the contact copy or move and the message
// move compare exactly.
enum class MarkReading { Exact, Trimmed, TrimmedUpper };

// Whether `entry` takes part in the actions ("N"), its mark read as `reading` says.
bool TakesPart(const TEmailEntry& entry, MarkReading reading = MarkReading::Exact);

// Whether a linked-contacts column holds a contact group: one is at least "p:id" and a separator,
// six characters once trimmed; anything shorter is taken for an empty column.
bool HasLinkedContacts(std::string_view column);

// The library's one address table, shared by every wizard opened while it is loaded.
TEmailData& olEmailData();

// Sets the exclusion mark, upper-cased, of every entry whose address equals `emailaddress`
// when both are lower-cased.
void MarkEmail(TEmailData& data, std::string_view emailaddress, std::string_view mark);

}  // namespace qor::engine
