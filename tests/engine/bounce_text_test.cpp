#include "engine/bounce_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qor::engine {
namespace {

// Lines of every length around the eight-byte steps, broken by LF, CR LF and CR alone, and
// searched within limits that cut them anywhere: the line's ends are those a byte-by-byte
// reading finds.
TEST(BounceText, FindsLineEndsAndStartsAsAByteByByteReadingDoes) {
  std::mt19937 random(7);
  const std::string breaks[] = {"\n", "\r\n", "\r"};
  for (int round = 0; round < 200; ++round) {
    std::string text;
    while (text.size() < 600) {
      text.append(random() % 150, static_cast<char>('a' + random() % 26));
      text += breaks[random() % 3];
    }
    for (std::size_t at = 0; at < text.size(); at += 1 + random() % 7) {
      const std::size_t end = std::min(text.size(), at + random() % 200);
      std::size_t expectedEnd = at;
      while (expectedEnd < end && !IsLineBreak(text[expectedEnd])) ++expectedEnd;
      ASSERT_EQ(LineEnd(text, at, end), expectedEnd) << at << " to " << end;

      const std::size_t floor = at - std::min<std::size_t>(at, random() % 200);
      std::size_t expectedStart = at;
      while (expectedStart > floor && !IsLineBreak(text[expectedStart - 1])) --expectedStart;
      ASSERT_EQ(LineStart(text, at, floor), expectedStart) << floor << " to " << at;
    }
  }
}

}  // namespace
}  // namespace qor::engine
