#include "engine/xprocs.h"

#include <gtest/gtest.h>

namespace qor::engine {
namespace {

TEST(StrToken, CutsFirstTokenAndSeparatorOffTheText) {
  std::string s = "Mailbox\\Contacts\\Friends";
  EXPECT_EQ(strToken(s, '\\'), "Mailbox");
  EXPECT_EQ(s, "Contacts\\Friends");

  std::string single = "alone";
  EXPECT_EQ(strToken(single, '\\'), "alone");
  EXPECT_EQ(single, "");

  std::string leading = ";rest";
  EXPECT_EQ(strToken(leading, ';'), "");
  EXPECT_EQ(leading, "rest");
}

TEST(StrToken, HandlesSeparatorsBeyondSixteenBitPositions) {
  const std::string longToken(70000, 'x');
  std::string s = longToken + ";tail";
  EXPECT_EQ(strToken(s, ';'), longToken);
  EXPECT_EQ(s, "tail");
  EXPECT_EQ(strTokenCount(longToken + ";tail", ';'), 2);
  EXPECT_EQ(strTokenAt(longToken + ";tail", ';', 1), "tail");
}

TEST(StrTokenCount, StopsAtTheFirstEmptyField) {
  EXPECT_EQ(strTokenCount("a;b;c", ';'), 3);
  EXPECT_EQ(strTokenCount("a;b;", ';'), 2);
  EXPECT_EQ(strTokenCount("a;;b", ';'), 1);
  EXPECT_EQ(strTokenCount(";a", ';'), 0);
  EXPECT_EQ(strTokenCount("", ';'), 0);
  EXPECT_EQ(strTokenCount("no separator", ';'), 1);
}

TEST(StrTokenAt, CountsEmptyFieldsAsFields) {
  EXPECT_EQ(strTokenAt("a;;c", ';', 0), "a");
  EXPECT_EQ(strTokenAt("a;;c", ';', 1), "");
  EXPECT_EQ(strTokenAt("a;;c", ';', 2), "c");
  EXPECT_EQ(strTokenAt("a;;c", ';', 3), "");
  EXPECT_EQ(strTokenAt("alone", ';', 1), "");
  EXPECT_EQ(strTokenAt("a;b", ';', -1), "");
  EXPECT_EQ(strTokenAt("user@host@x.org", '@', 1), "host");
  EXPECT_EQ(strTokenAt("Mailbox\\Contacts:ID1,ID2", ':', 1), "ID1,ID2");
}

TEST(StrAddSlashAndLastCh, WorkOnEmptyAndEndingText) {
  EXPECT_EQ(strAddSlash("C:\\Docs"), "C:\\Docs\\");
  EXPECT_EQ(strAddSlash("C:\\Docs\\"), "C:\\Docs\\");
  EXPECT_EQ(strAddSlash(""), "\\");
  EXPECT_EQ(strLastCh("abc"), 'c');
  EXPECT_EQ(strLastCh(""), '\0');
}

}  // namespace
}  // namespace qor::engine
