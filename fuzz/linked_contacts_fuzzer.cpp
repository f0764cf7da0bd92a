// The linked-contacts column as the address table stores it, read back from arbitrary text: one
// group per non-empty ";" field, no empty identifier, and every path and identifier survives being
// encoded and split again.

#include "engine/linked_contacts.h"
#include "engine/xprocs.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qor::engine;
  const std::string_view column = qor::fuzz::AsText(data, size);
  const std::vector<ContactGroup> groups = SplitLinkedContacts(column);
  FUZZ_CHECK(static_cast<int>(groups.size()) == strTokenCount(column, ';'));
  for (const ContactGroup& group : groups) {
    // What comes out, encoded again, splits back to itself.
    const auto again = SplitLinkedContacts(EncodeLinkedField(group.folderPath) + ":x");
    FUZZ_CHECK(again.size() == 1 && again[0].folderPath == group.folderPath);
    for (const std::string& id : group.entryIds) {
      FUZZ_CHECK(!id.empty());
      const auto back = SplitLinkedContacts("p:" + EncodeLinkedField(id));
      FUZZ_CHECK(back.size() == 1 && back[0].entryIds.size() == 1 && back[0].entryIds[0] == id);
    }
  }
  return 0;
}
