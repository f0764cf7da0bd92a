// The mailbox reader over arbitrary bytes: a file either loads or throws MailboxError, and what
// loads saves to a file that loads back to the same mailbox.

#include "fuzz_check.h"
#include "host/memory/mailbox_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qor::host::memory;
  std::shared_ptr<MemoryOutlook> outlook;
  try {
    outlook = ParseMailbox(qor::fuzz::AsText(data, size), "fuzz.json");
  } catch (const MailboxError&) {
    return 0;
  }
  const std::string saved = SerializeMailbox(*outlook);
  FUZZ_CHECK(SerializeMailbox(*ParseMailbox(saved, "saved.json")) == saved);
  return 0;
}
