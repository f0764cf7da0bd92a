#include "engine/linked_contacts.h"

#include "engine/xprocs.h"

namespace qor::engine {

std::vector<ContactGroup> SplitLinkedContacts(std::string_view column) {
  std::vector<ContactGroup> groups;
  const int groupCount = strTokenCount(column, ';');
  for (int g = 0; g < groupCount; ++g) {
    const std::string group = strTokenAt(column, ';', g);
    ContactGroup& contactGroup = groups.emplace_back();
    contactGroup.folderPath = strTokenAt(group, ':', 0);
    const std::string ids = strTokenAt(group, ':', 1);
    const int idCount = strTokenCount(ids, ',');
    for (int i = 0; i < idCount; ++i) contactGroup.entryIds.push_back(strTokenAt(ids, ',', i));
  }
  return groups;
}

}  // namespace qor::engine
