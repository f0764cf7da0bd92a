#include "engine/address_compare.h"

#include <gtest/gtest.h>

namespace qor::engine {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// Pairs and results read off Windows' CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE).
TEST(CompareAddressText, OrdersLikeTheWindowsWordSort) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"a", "b", -1},     {"A", "a", 0},       {".", "@", -1},        {"@", "_", -1},    {"_", "0", -1},
      {"9", "a", -1},     {"-", ".", -1},      {"ab", "a-b", -1},     {"a-b", "ab-", 1}, {"-ab", "a-b", 1},
      {"a--b", "a-b", 1}, {"ab-", "a-b-", -1}, {"-a", "a", 1},        {"a-", "a", 1},    {"--", "-", 1},
      {".-", "-.", -1},   {"a.b", "a-.b", -1}, {"a-.b", "a.-b", 1},   {"b", "-a", 1},    {"A-b", "a-B", 0},
      {"", "", 0},        {"", "-", -1},       {"x@y.z", "X@Y.Z", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareAddressText(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareAddressText(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
  }
}

}  // namespace
}  // namespace qor::engine
