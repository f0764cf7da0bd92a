#include "engine/extract_emails.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/address_chars.h"
#include "engine/text.h"
#include "host/memory/mailbox_file.h"
#include "host/memory/memory_outlook.h"

using namespace std::string_literals;

namespace qor::engine {
namespace {

TEST(ExtractEMails, TakesWholeAddressesWithoutThePunctuationAroundThem) {
  EXPECT_EQ(ExtractEMails("To: <john.doe@example.com>"), "john.doe@example.com\r\n");
  EXPECT_EQ(ExtractEMails("mailto:jane@example.org"), "jane@example.org\r\n");
  EXPECT_EQ(ExtractEMails("bob+news@example.com"), "bob+news@example.com\r\n");
  EXPECT_EQ(ExtractEMails("o'brien@example.com"), "o'brien@example.com\r\n");
  EXPECT_EQ(ExtractEMails("Failed: nyaan%gol.com@q002.example.com"), "nyaan%gol.com@q002.example.com\r\n");
  EXPECT_EQ(ExtractEMails("Jos\u00e9.N\u00fa\u00f1ez@example.com"), "Jos\u00e9.N\u00fa\u00f1ez@example.com\r\n");
  EXPECT_EQ(ExtractEMails("\u0437\u0430\u0431\u043b\u043e\u043a@\u043f\u0440\u0438\u043c\u0435\u0440.\u0440\u0444"),
            "\u0437\u0430\u0431\u043b\u043e\u043a@\u043f\u0440\u0438\u043c\u0435\u0440.\u0440\u0444\r\n");
  EXPECT_EQ(ExtractEMails("RFC822; \U0001F408\U0001F408@example.org"), "\U0001F408\U0001F408@example.org\r\n");
  for (const char* quoted : {"'bob@example.com'", "(bob@example.com)", "\"bob@example.com\"", "bob@example.com.",
                             "[bob@example.com]", "bob@example.com!", "{bob@example.com}", "'bob@example.com'.",
                             "\u00abbob@example.com\u00bb", "\u201cbob@example.com\u201d",
                             "\u00a0bob@example.com\u2026", "\u300cbob@example.com\u300d", "&lt;bob@example.com&gt;"}) {
    EXPECT_EQ(ExtractEMails(quoted), "bob@example.com\r\n") << quoted;
  }
  // A URL's query string and Japanese or Chinese text written against the address.
  EXPECT_EQ(ExtractEMails("https://x.example/unsub?email=bob@example.com&list=7"), "bob@example.com\r\n");
  EXPECT_EQ(ExtractEMails("\u5b9b\u5148kijitora@example.jp\u3078\u306e kijitora@example.jp\u60a8\u597d"),
            "kijitora@example.jp\r\n");
  EXPECT_EQ(ExtractEMails("\u7528\u6237@\u4f8b\u5b50.\u5e7f\u544a"), "\u7528\u6237@\u4f8b\u5b50.\u5e7f\u544a\r\n");
  EXPECT_EQ(ExtractEMails("rcpt=x@relay@example.com;"), "x@relay@example.com\r\n");
  EXPECT_EQ(ExtractEMails("@abc.com"), "@abc.com\r\n");
}

TEST(ExtractEMails, TakesNothingOutOfATokenItCannotTakeWhole) {
  EXPECT_EQ(ExtractEMails("<006901c3d125$9e66d3c0$6c822ecf@mail.example.com>"), "");
  EXPECT_EQ(ExtractEMails("Message-Id: <mxl~ffff.0000.0000@mxl8.example.net>"), "");
  EXPECT_EQ(ExtractEMails("approve: *@c-a-m.com"), "");
  EXPECT_EQ(ExtractEMails("Jos\xE9.N\xFA\xF1\x65z@example.com"), "");  // Latin-1, not UTF-8
  EXPECT_EQ(ExtractEMails("Jos\uFFFD@example.com"), "");               // a character lost before
  EXPECT_EQ(ExtractEMails("a@b.c~d@e.f bob@example.com"), "bob@example.com\r\n");
}

TEST(ExtractEMails, AcceptsRunsOfFiveCharactersOrMore) {
  EXPECT_EQ(ExtractEMails("abcd@"), "abcd@\r\n");
  EXPECT_EQ(ExtractEMails("abc@ ab@c a@bc '.a@b.'"), "");
  EXPECT_EQ(ExtractEMails("\u00e9\u00e9@x \u00e9\u00e9\u00e9@x"), "\u00e9\u00e9\u00e9@x\r\n");  // characters, not bytes
  EXPECT_EQ(ExtractEMails("no at sign in this text"), "");
  EXPECT_EQ(ExtractEMails(""), "");
}

TEST(ExtractEMails, KeepsTheFirstFormOfAnAddressAndSortsIgnoringCase) {
  EXPECT_EQ(ExtractEMails("Bob@Example.com, bob@example.COM"), "Bob@Example.com\r\n");
  EXPECT_EQ(ExtractEMails("zed@x.org\r\nAmy@x.org\nmia@x.org\r"), "Amy@x.org\r\nmia@x.org\r\nzed@x.org\r\n");
  // Word sort: "-" decides only between otherwise equal addresses; "." < "@" < "_" < digits < letters.
  EXPECT_EQ(ExtractEMails("a-b@x.org ab@x.org a_b@x.org a.b@x.org a1@x.org"),
            "a.b@x.org\r\na_b@x.org\r\na1@x.org\r\nab@x.org\r\na-b@x.org\r\n");
  // Only A to Z fold: bytes beyond ASCII that differ in bit 0x20 are other letters (U+0400, U+0420).
  EXPECT_EQ(ExtractEMails("\u0400@x.org \u0420@x.org \u0420@X.ORG"), "\u0400@x.org\r\n\u0420@x.org\r\n");
}

TEST(ExtractEMails, IgnoresEverythingAfterANul) {
  EXPECT_EQ(ExtractEMails("first@example.com\0second@example.com"s), "first@example.com\r\n");
  EXPECT_EQ(ExtractEMails("\0only@example.com"s), "");
}

TEST(ExtractEMails, SplitsAtEveryAsciiSeparator) {
  const std::string separators = " \t\r\n\x01\x7f!\"#&()*,/:;<=>?[\\]{|}";
  for (const char c : separators) {
    EXPECT_EQ(ExtractEMails("aa@b.c" + std::string(1, c) + "dd@e.f"), c == '*' ? "" : "aa@b.c\r\ndd@e.f\r\n")
        << static_cast<int>(c);
  }
  int addressChars = 0;
  for (int c = 0; c < 128; ++c)
    addressChars += CharAt(std::string(1, static_cast<char>(c)), 0).kind == CharKind::Address;
  EXPECT_EQ(addressChars, 69);
}

TEST(ExtractEMails, HandlesMegabytesOfAddressesInOneBody) {
  std::string body;
  for (int i = 0; i < 30000; ++i) body += "user" + std::to_string(i) + "@example.com\r\n";
  const std::string result = ExtractEMails(body);
  EXPECT_EQ(result.size(), body.size());
  EXPECT_EQ(result.substr(0, 19), "user0@example.com\r\n");
}

std::string Lines(const std::vector<std::string_view>& addresses) {
  std::string text;
  for (const auto address : addresses) text.append(address).append("\r\n");
  return text;
}

// The folder scan keeps one extractor for every body: after a text of hundreds of addresses, and
// between bodies that name the same addresses in other letter cases, each body still yields
// exactly what ExtractEMails prints for it alone.
TEST(AddressExtractor, FindsWhatExtractEMailsPrintsForEachBounceOfTheSampleInTurn) {
  const auto outlook = host::memory::LoadMailbox(std::string(QOR_SOURCE_DIR) + "/samples/mailbox.json");
  const auto items = outlook->GetNamespace("MAPI")->Folders()->Item("Mailbox")->Folders()->Item("Bounces")->Items();
  std::vector<std::string> texts(1);
  for (int i = 1; i <= items->Count(); ++i) {
    texts.push_back(items->Item(i)->Body());
    texts.front() += texts.back();
  }
  texts.push_back(texts.front() + LowerAscii(texts.front()));
  for (int i = 1; i <= items->Count(); ++i) texts.push_back(UpperAscii(texts[i]));

  AddressExtractor extractor;
  EXPECT_GT(extractor.Extract(texts.front()).size(), 300u);
  for (const auto& text : texts) EXPECT_EQ(Lines(extractor.Extract(text)), ExtractEMails(text));
}

}  // namespace
}  // namespace qor::engine
