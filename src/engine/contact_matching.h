#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_context.h"
#include "engine/run_options.h"
#include "host/outlook.h"

namespace qor::engine {

// The contacts of `folder` carrying the address in one of their three e-mail fields, found by a
// restriction so that Outlook does the matching.
std::shared_ptr<host::Items> SearchContact(host::Folder& folder, std::string_view emailaddress);

// How a folder's contacts are matched: one pass over the folder and a lookup per address, or one
// restriction per address. Both give the same column.
enum class ContactMatching { OnePass, RestrictPerAddress };

// One restriction per address for a handful of addresses, one pass otherwise. A restriction
// costs what reading about a tenth of the folder in one pass costs, whatever its size, so up to
// eight addresses the restrictions are cheaper (measured by BM_ContactMatching).
ContactMatching ContactMatchingFor(std::size_t addresses) noexcept;

// Fills the linked-contacts column of every entry from the listed contact folders, when
// "Scan Selected Contact Folders" is ticked; matched as ContactMatchingFor the table's size
// unless `matching` says how.
void GetLinkedContacts(EngineContext& context, const RunOptions& options,
                       std::optional<ContactMatching> matching = std::nullopt);

// The contact with that entry id in the store of the folder at `ContactFolder`, or null when the
// item is no contact. A path or id that names nothing fails with the host's error.
std::shared_ptr<host::ContactItem> GetContactInfo(const EngineContext& context, std::string_view ContactFolder,
                                                  const std::string& ContactEntryID);

}  // namespace qor::engine
