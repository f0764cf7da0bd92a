#pragma once

#include <string>

#include "host/memory/memory_folder.h"

namespace qor::bench {

// The address BounceBody(n) reports as failed.
inline std::string BouncedAddress(int n) { return "user" + std::to_string(n) + "@example.com"; }

// `contacts` contacts in `folder`: every fourth carries a bounced address (one in four of those in
// its second field), the others addresses no bounce names.
inline void AddContacts(host::memory::MemoryFolder& folder, int contacts) {
  for (int n = 0; n < contacts; ++n) {
    host::memory::ContactFields fields{.fullName = "Contact " + std::to_string(n)};
    const std::string address = n % 4 == 0 ? BouncedAddress(n) : "kept" + std::to_string(n) + "@example.org";
    (n % 16 == 0 ? fields.email2Address : fields.email1Address) = address;
    folder.AddContact(fields);
  }
}

}  // namespace qor::bench
