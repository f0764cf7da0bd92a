// The linked-contacts column as the address table stores it, read back from arbitrary text: one
// group per non-empty ";" field, and no separator or empty identifier inside what comes out.

#include "engine/linked_contacts.h"
#include "engine/xprocs.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qor::engine;
  const std::string_view column = qor::fuzz::AsText(data, size);
  const std::vector<ContactGroup> groups = SplitLinkedContacts(column);
  FUZZ_CHECK(static_cast<int>(groups.size()) == strTokenCount(column, ';'));
  for (const ContactGroup& group : groups) {
    FUZZ_CHECK(group.folderPath.find_first_of(";:") == std::string::npos);
    for (const std::string& id : group.entryIds) {
      FUZZ_CHECK(!id.empty() && id.find_first_of(";:,") == std::string::npos);
    }
  }
  return 0;
}
