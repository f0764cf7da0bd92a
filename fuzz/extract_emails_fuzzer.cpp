// Extraction over arbitrary message text: every line it returns is an address of address characters
// only, without a full stop or quote at its ends, that stands in the text before any NUL with no
// glue character beside it; the lines are unique ignoring case and in CompareAddressText order.

#include <string>

#include "engine/address_chars.h"
#include "engine/address_compare.h"
#include "engine/extract_emails.h"
#include "engine/text.h"
#include "fuzz_check.h"

namespace {

// Whether the address stands somewhere in the text with no glue character beside it.
bool StandsWhole(std::string_view text, std::string_view address) {
  using namespace qor::engine;
  for (auto at = text.find(address); at != std::string_view::npos; at = text.find(address, at + 1)) {
    const std::size_t end = at + address.size();
    if ((at == 0 || CharBefore(text, at).kind != CharKind::Glue) &&
        (end == text.size() || CharAt(text, end).kind != CharKind::Glue)) {
      return true;
    }
  }
  return false;
}

}  // namespace

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
    FUZZ_CHECK(!IsEdgePunctuation(address.front()) && !IsEdgePunctuation(address.back()));
    for (std::size_t at = 0; at < address.size(); at += CharAt(address, at).size) {
      FUZZ_CHECK(CharAt(address, at).kind == CharKind::Address);
    }
    FUZZ_CHECK(StandsWhole(scanned, address));
    FUZZ_CHECK(previous.empty() || CompareAddressText(previous, address) < 0);
    FUZZ_CHECK(LowerAscii(previous) != LowerAscii(address));
    previous = address;
  }
  return 0;
}
