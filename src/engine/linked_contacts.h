#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qor::engine {

// One group of a linked-contacts column: a contact folder path and the contacts found there.
struct ContactGroup {
  std::string folderPath;
  std::vector<std::string> entryIds;
};

// A folder path or entry id as the column holds it: "%", the separators ",", ";" and ":", control
// bytes and a space at either end (which readers trim) are written "%XX", so any name or id
// survives.
std::string EncodeLinkedField(std::string_view text);

// Splits a linked-contacts column ("path:id,id;path:id") the way every reader does: groups by
// ";", path and identifiers by ":", identifiers by ","; counting stops at the first empty group
// or identifier. Paths and identifiers come back decoded.
std::vector<ContactGroup> SplitLinkedContacts(std::string_view column);

}  // namespace qor::engine
