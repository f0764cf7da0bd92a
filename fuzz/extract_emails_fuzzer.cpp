// Extraction over arbitrary message text: every line it returns is an address that stands in the
// text before any NUL, and the lines are unique ignoring case and in CompareAddressText order.

#include <algorithm>
#include <string>

#include "engine/address_compare.h"
#include "engine/extract_emails.h"
#include "engine/text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qor::engine;
  const std::string_view input = qor::fuzz::AsText(data, size);
  const std::string_view scanned = input.substr(0, input.find('\0'));
  const std::string result = ExtractEMails(input);

  std::string_view rest = result;
  std::string previous;
  while (!rest.empty()) {
    const auto end = rest.find("\r\n");
    FUZZ_CHECK(end != std::string_view::npos);
    const std::string_view address = rest.substr(0, end);
    rest.remove_prefix(end + 2);
    FUZZ_CHECK(address.size() >= 5 && address.find('@') != std::string_view::npos);
    FUZZ_CHECK(std::all_of(address.begin(), address.end(), IsAddressChar));
    FUZZ_CHECK(scanned.find(address) != std::string_view::npos);
    FUZZ_CHECK(previous.empty() || CompareAddressText(previous, address) < 0);
    FUZZ_CHECK(LowerAscii(previous) != LowerAscii(address));
    previous = address;
  }
  return 0;
}
