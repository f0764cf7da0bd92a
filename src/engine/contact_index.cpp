#include "engine/contact_index.h"

#include "engine/linked_contacts.h"
#include "engine/text.h"

namespace qor::engine {

ContactIndex::ContactIndex(host::Folder& folder) {
  for (const auto& contact : folder.ContactAddressList()) {
    if (contact.email1Address.empty() && contact.email2Address.empty() && contact.email3Address.empty()) continue;
    const auto position = static_cast<std::uint32_t>(entryIds_.size());
    entryIds_.push_back(EncodeLinkedField(contact.entryId));
    Add(contact.email1Address, position);
    Add(contact.email2Address, position);
    Add(contact.email3Address, position);
  }
}

void ContactIndex::Add(const std::string& address, std::uint32_t contact) {
  // No address the scan finds is empty, so an empty field never matches.
  if (address.empty()) return;
  auto& contacts = contactsByAddress_[LowerAscii(address)];
  if (contacts.empty() || contacts.back() != contact) contacts.push_back(contact);
}

std::string ContactIndex::JoinedEntryIds(std::string_view address) const {
  const auto found = contactsByAddress_.find(LowerAscii(Trim(address)));
  std::string ids;
  if (found == contactsByAddress_.end()) return ids;
  for (const std::uint32_t contact : found->second) {
    if (contact != found->second.front()) ids += ',';
    ids += entryIds_[contact];
  }
  return ids;
}

}  // namespace qor::engine
