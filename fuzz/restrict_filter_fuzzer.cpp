// Items.Restrict with an arbitrary filter over a folder holding one item of every class: a filter
// either throws HostError or splits the folder, its negation taking exactly the other items.

#include <memory>
#include <string>

#include "fuzz_check.h"
#include "host/host_error.h"
#include "host/memory/memory_outlook.h"

namespace {

using namespace qor::host;
using namespace qor::host::memory;

std::shared_ptr<MemoryFolder> MakeFolder() {
  auto folder = MemoryOutlook::Create()->AddStore("Mailbox");
  folder->AddMail("a@b.com", "one");
  folder->AddMail("it's", "note", ItemClass::Note);
  folder->AddMail("", "report", ItemClass::Report, "ID-7");
  folder->AddMail("say \"hi\"", "quoted");
  folder->AddContact({.fullName = "Ann Lee",
                      .companyName = "Example Ltd",
                      .businessTelephoneNumber = "+1 555",
                      .email1Address = "A@B.com",
                      .email2Address = "ann@b.com",
                      .email3Address = "",
                      .body = "note"});
  return folder;
}

// Null when the filter does not parse.
std::shared_ptr<Items> Restricted(Folder& folder, const std::string& filter) {
  try {
    return folder.Items()->Restrict(filter);
  } catch (const HostError&) {
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::shared_ptr<MemoryFolder> folder = MakeFolder();
  const std::string filter(qor::fuzz::AsText(data, size));
  const auto matches = Restricted(*folder, filter);
  if (!matches) return 0;
  int walked = 0;
  for (auto item = matches->GetFirst(); item; item = matches->GetNext()) ++walked;
  FUZZ_CHECK(walked == matches->Count());

  // Nesting the filter two levels deeper may pass the parser's depth limit; otherwise it parses.
  if (const auto others = Restricted(*folder, "not (" + filter + ")")) {
    FUZZ_CHECK(matches->Count() + others->Count() == static_cast<int>(folder->ItemCount()));
  }
  return 0;
}
