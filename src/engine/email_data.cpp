#include "engine/email_data.h"

#include "engine/text.h"

namespace qor::engine {

TEmailData& olEmailData() {
  static TEmailData data;
  return data;
}

void MarkEmail(TEmailData& data, std::string_view emailaddress, std::string_view mark) {
  const std::string address = LowerAscii(emailaddress);
  const std::string upperMark = UpperAscii(mark);
  for (auto& entry : data) {
    if (LowerAscii(entry[kAddress]) == address) entry[kExcluded] = upperMark;
  }
}

}  // namespace qor::engine
