// The token and text routines over arbitrary text, the first byte choosing the separator:
// strTokenCount and strTokenAt agree with cutting tokens off a copy by strToken, the fields
// strTokenAt yields join back to the text, and Trim and the case mappings keep their promises.

#include <algorithm>
#include <string>

#include "engine/text.h"
#include "engine/xprocs.h"
#include "fuzz_check.h"

namespace {

using namespace qor::engine;

// Fields are found from the start each time; beyond this many the check costs more than it finds.
constexpr int kMaxJoinedFields = 256;

void CheckTokens(std::string_view text, char separator) {
  std::string copy(text);
  int count = 0;
  for (std::string token; !(token = strToken(copy, separator)).empty(); ++count) {
    FUZZ_CHECK(token.find(separator) == std::string::npos);
    FUZZ_CHECK(strTokenAt(text, separator, count) == token);
  }
  FUZZ_CHECK(strTokenCount(text, separator) == count);
  FUZZ_CHECK(strTokenAt(text, separator, -1).empty());

  const auto fields = static_cast<int>(std::count(text.begin(), text.end(), separator)) + 1;
  if (fields > kMaxJoinedFields) return;
  std::string joined = strTokenAt(text, separator, 0);
  for (int field = 1; field < fields; ++field) joined += separator + strTokenAt(text, separator, field);
  FUZZ_CHECK(joined == text);
  FUZZ_CHECK(strTokenAt(text, separator, fields).empty());
}

void CheckText(std::string_view text) {
  const std::string trimmed = Trim(text);
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  FUZZ_CHECK(trimmed.empty() || (!blank(trimmed.front()) && !blank(trimmed.back())));
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(Trim(trimmed) == trimmed);

  const std::string lower = LowerAscii(text);
  const std::string upper = UpperAscii(text);
  FUZZ_CHECK(lower.size() == text.size() && upper.size() == text.size());
  FUZZ_CHECK(LowerAscii(upper) == lower && UpperAscii(lower) == upper);

  const std::string slashed = strAddSlash(text);
  FUZZ_CHECK(strLastCh(slashed) == '\\');
  FUZZ_CHECK(slashed == text || slashed == std::string(text) + '\\');
  FUZZ_CHECK(strLastCh(text) == (text.empty() ? '\0' : text.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text = qor::fuzz::AsText(data + 1, size - 1);
  CheckTokens(text, static_cast<char>(data[0]));
  CheckText(text);
  return 0;
}
