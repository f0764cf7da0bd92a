#include "engine/email_data.h"

#include "engine/text.h"

namespace qor::engine {

TEmailData& olEmailData() {
  static TEmailData data;
  return data;
}

bool TakesPart(const TEmailEntry& entry, MarkReading reading) {
  const std::string& mark = entry[kExcluded];
  switch (reading) {
    case MarkReading::Trimmed: return Trim(mark) == kIncluded;
    case MarkReading::TrimmedUpper: return UpperAscii(Trim(mark)) == kIncluded;
    case MarkReading::Exact: break;
  }
  return mark == kIncluded;
}

bool HasLinkedContacts(std::string_view column) {
  constexpr std::size_t kShortestGroup = 6;
  return Trim(column).size() >= kShortestGroup;
}

void MarkEmail(TEmailData& data, std::string_view emailaddress, std::string_view mark) {
  const std::string address = LowerAscii(emailaddress);
  const std::string upperMark = UpperAscii(mark);
  for (auto& entry : data) {
    if (LowerAscii(entry[kAddress]) == address) entry[kExcluded] = upperMark;
  }
}

}  // namespace qor::engine
