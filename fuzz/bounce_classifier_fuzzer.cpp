// The bounce classifier over arbitrary message text: every place extraction took an address from
// holds that address; one verdict for every address; a failure kind for the recipients alone; a
// status that is a reply or enhanced code; a diagnostic that is one shortened line of the text.

#include <algorithm>
#include <string>

#include "engine/address_chars.h"
#include "engine/bounce_classifier.h"
#include "engine/extract_emails.h"
#include "fuzz_check.h"

namespace {

bool IsStatus(std::string_view status) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (status.empty()) return true;
  if (status.size() == 3) return std::all_of(status.begin(), status.end(), digit);
  return digit(status.front()) && std::count(status.begin(), status.end(), '.') == 2 &&
         std::all_of(status.begin(), status.end(), [&](char c) { return digit(c) || c == '.'; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qor::engine;
  const std::string_view input = qor::fuzz::AsText(data, size);
  AddressExtractor extractor;
  const auto& addresses = extractor.Extract(input);
  for (const auto& occurrence : extractor.Occurrences()) {
    FUZZ_CHECK(occurrence.address < addresses.size());
    const std::string_view address = addresses[occurrence.address];
    FUZZ_CHECK(SameAddress(input.substr(occurrence.offset, address.size()), address));
  }
  BounceClassifier classifier;
  const auto& verdicts = classifier.Classify(input, addresses, extractor.Occurrences());
  FUZZ_CHECK(verdicts.size() == addresses.size());
  for (const auto& verdict : verdicts) {
    FUZZ_CHECK((verdict.role == AddressRole::Recipient) == (verdict.kind != FailureKind::None));
    FUZZ_CHECK(IsStatus(verdict.status));
    FUZZ_CHECK(verdict.diagnostic.size() <= 120);
    FUZZ_CHECK(verdict.diagnostic.find('\n') == std::string::npos);
  }
  return 0;
}
