#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/system_services.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include "platform/services_native.h"
#include "scoped_environment.h"
#endif

namespace qor::platform {
namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

std::tm Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

std::vector<int> Numbers(const std::string& text) {
  std::vector<int> numbers;
  std::string digits;
  for (const char c : text + ' ') {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (!digits.empty()) {
      numbers.push_back(std::stoi(digits));
      digits.clear();
    }
  }
  return numbers;
}

TEST(Clock, ShortDateHoldsTodaysDayMonthAndYear) {
  tests::TempFolder folder;
  SystemServices system(folder.Path());
  const std::tm before = Today();
  const std::string date = system.Get().clock.ShortDate();
  const std::tm after = Today();

  ASSERT_THAT(date, Not(IsEmpty()));
  // Around midnight the answer may belong to either side.
  const std::tm today = before.tm_mday == after.tm_mday ? before : after;
  const std::vector<int> numbers = Numbers(date);
  EXPECT_THAT(numbers, Contains(today.tm_mday)) << date;
  EXPECT_THAT(numbers, Contains(today.tm_mon + 1)) << date;
  EXPECT_THAT(numbers, Contains(AnyOf(today.tm_year + 1900, today.tm_year % 100))) << date;
}

#ifndef _WIN32
TEST(Clock, UnknownEnvironmentLocaleFallsBackToTheCLocale) {
  tests::ScopedEnvironment locale("LC_ALL", "xx_NOWHERE.UTF-8");
  const std::tm today = Today();
  char expected[16];
  std::strftime(expected, sizeof expected, "%m/%d/%y", &today);

  EXPECT_EQ(LocaleClock().ShortDate(), expected);
}
#endif

}  // namespace
}  // namespace qor::platform
