#pragma once

#include <gmock/gmock.h>

#include <string>

namespace qor::tests {

// gtest's regular expressions on Windows know no {n} repetition, so spell the check out.
MATCHER(IsOutlookStyleId, "48 uppercase hex digits") {
  const std::string& id = arg;
  if (id.size() != 48) return false;
  for (const char c : id) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

}  // namespace qor::tests
