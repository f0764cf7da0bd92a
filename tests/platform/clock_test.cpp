#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/system_services.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>

#include "platform/services_native.h"
#include "scoped_environment.h"
#endif

namespace qor::platform {
namespace {

using ::testing::AnyOf;
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

// The letters 'd', 'm' and 'y' in the order the user's short date format puts day, month and year.
std::string FieldOrder() {
#ifdef _WIN32
  wchar_t pattern[80] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, 80);
  std::string order;
  for (const wchar_t* c = pattern; *c != L'\0'; ++c) {
    const char letter = *c == L'd' ? 'd' : *c == L'M' ? 'm' : *c == L'y' ? 'y' : '\0';
    if (letter != '\0' && order.find(letter) == std::string::npos) order += letter;
  }
  return order;
#else
  // %x in the environment's locale, as the native clock writes it.
  std::string order;
  const std::string pattern = nl_langinfo(D_FMT);
  for (std::size_t at = pattern.find('%'); at != std::string::npos; at = pattern.find('%', at + 1)) {
    switch (pattern[at + 1]) {
      case 'd':
      case 'e': order += 'd'; break;
      case 'm': order += 'm'; break;
      case 'y':
      case 'Y': order += 'y'; break;
      default: break;
    }
  }
  return order;
#endif
}

// Today's day, month and year, in the order of the user's format: a day and month swapped fail,
// save on the twelve days a year when they are the same number.
TEST(Clock, ShortDateHoldsTodaysDayMonthAndYearInTheUsersOrder) {
  tests::TempFolder folder;
  SystemServices system(folder.Path());
  const std::tm before = Today();
  const std::string date = system.Get().clock.ShortDate();
  const std::tm after = Today();

  ASSERT_THAT(date, Not(IsEmpty()));
  // Around midnight the answer may belong to either side.
  const std::tm today = before.tm_mday == after.tm_mday ? before : after;
  const std::vector<int> numbers = Numbers(date);
  const std::string order = FieldOrder();
  ASSERT_EQ(order.size(), 3u) << order;
  ASSERT_EQ(numbers.size(), 3u) << date;
  SCOPED_TRACE(date + " in the order " + order);
  for (std::size_t field = 0; field < 3; ++field) {
    switch (order[field]) {
      case 'd': EXPECT_EQ(numbers[field], today.tm_mday); break;
      case 'm': EXPECT_EQ(numbers[field], today.tm_mon + 1); break;
      default: EXPECT_THAT(numbers[field], AnyOf(today.tm_year + 1900, today.tm_year % 100));
    }
  }
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
