#pragma once

// Folder::ContactAddressList for a host without a cheaper way: the items walked one by one.

#include <memory>
#include <vector>

#include "host/outlook.h"

namespace qor::host {

inline std::vector<ContactAddresses> ContactAddressesOf(Items& items) {
  std::vector<ContactAddresses> contacts;
  for (auto item = items.GetFirst(); item; item = items.GetNext()) {
    if (const auto contact = AsContact(item)) {
      contacts.push_back(
          {contact->EntryID(), contact->Email1Address(), contact->Email2Address(), contact->Email3Address()});
    }
  }
  return contacts;
}

}  // namespace qor::host
