#include "platform/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SplitWindowsCommandLine, BlanksOutsideQuotesSeparateArguments) {
  EXPECT_THAT(SplitWindowsCommandLine(""), IsEmpty());
  EXPECT_THAT(SplitWindowsCommandLine(" \t  "), IsEmpty());
  EXPECT_THAT(SplitWindowsCommandLine(" p:default o:3\t\ta:interactive "),
              ElementsAre("p:default", "o:3", "a:interactive"));
  // Only space and tab are blanks; other bytes, UTF-8 included, belong to the argument.
  EXPECT_THAT(SplitWindowsCommandLine("a\nb caf\xC3\xA9"), ElementsAre("a\nb", "caf\xC3\xA9"));
}

TEST(SplitWindowsCommandLine, QuotesGroupAndMayStandInsideAnArgument) {
  EXPECT_THAT(SplitWindowsCommandLine(R"( "f:C:\QOR for Outlook\olqor.txt" a:interactive)"),
              ElementsAre(R"(f:C:\QOR for Outlook\olqor.txt)", "a:interactive"));
  EXPECT_THAT(SplitWindowsCommandLine(R"(f:"C:\My Files"\x.txt)"), ElementsAre(R"(f:C:\My Files\x.txt)"));
  EXPECT_THAT(SplitWindowsCommandLine(R"(a "" b "")"), ElementsAre("a", "", "b", ""));
  EXPECT_THAT(SplitWindowsCommandLine(R"("unterminated  text)"), ElementsAre("unterminated  text"));
}

TEST(SplitWindowsCommandLine, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_THAT(SplitWindowsCommandLine(R"(C:\dir\ \\server\share\ a\\\b)"),
              ElementsAre(R"(C:\dir\)", R"(\\server\share\)", R"(a\\\b)"));
  EXPECT_THAT(SplitWindowsCommandLine(R"(a\"b)"), ElementsAre(R"(a"b)"));
  EXPECT_THAT(SplitWindowsCommandLine(R"(a\\"b c")"), ElementsAre(R"(a\b c)"));
  EXPECT_THAT(SplitWindowsCommandLine(R"(a\\\"b c)"), ElementsAre(R"(a\"b)", "c"));
  EXPECT_THAT(SplitWindowsCommandLine(R"("C:\QOR for Outlook\\" next)"), ElementsAre(R"(C:\QOR for Outlook\)", "next"));
  EXPECT_THAT(SplitWindowsCommandLine(R"("say \"hi\"")"), ElementsAre(R"(say "hi")"));
}

TEST(SplitWindowsCommandLine, DoubledQuoteInsideQuotesIsALiteralQuoteAndKeepsTheQuoteOpen) {
  EXPECT_THAT(SplitWindowsCommandLine(R"("a""b c")"), ElementsAre(R"(a"b c)"));
  EXPECT_THAT(SplitWindowsCommandLine(R"("a""" b)"), ElementsAre(R"(a")", "b"));
  // Outside quotes the first quote opens a quoted part and the second closes it.
  EXPECT_THAT(SplitWindowsCommandLine(R"(a""b c)"), ElementsAre("ab", "c"));
}

}  // namespace
}  // namespace qor::platform
