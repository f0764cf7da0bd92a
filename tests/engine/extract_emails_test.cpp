#include "engine/extract_emails.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/text.h"
#include "host/memory/mailbox_file.h"
#include "host/memory/memory_outlook.h"

using namespace std::string_literals;

namespace qor::engine {
namespace {

TEST(ExtractEMails, CutsAddressesOutOfTheirSurroundings) {
  EXPECT_EQ(ExtractEMails("To: <john.doe@example.com>"), "john.doe@example.com\r\n");
  EXPECT_EQ(ExtractEMails("mailto:jane@example.org"), "jane@example.org\r\n");
  EXPECT_EQ(ExtractEMails("tag+box@example.org"), "box@example.org\r\n");
  EXPECT_EQ(ExtractEMails("o'brien@example.org"), "brien@example.org\r\n");
  EXPECT_EQ(ExtractEMails("Write to sales@example.com."), "sales@example.com.\r\n");
  EXPECT_EQ(ExtractEMails("rcpt=x@relay@example.com;"), "x@relay@example.com\r\n");
  EXPECT_EQ(ExtractEMails("caf\xc3\xa9user@exampl\xc3\xa9.com"), "user@exampl\r\n");
  EXPECT_EQ(ExtractEMails("@abc.com"), "@abc.com\r\n");
}

TEST(ExtractEMails, AcceptsRunsOfFiveCharactersOrMore) {
  EXPECT_EQ(ExtractEMails("abcd@"), "abcd@\r\n");
  EXPECT_EQ(ExtractEMails("abc@ ab@c a@bc"), "");
  EXPECT_EQ(ExtractEMails("no at sign in this text"), "");
  EXPECT_EQ(ExtractEMails(""), "");
}

TEST(ExtractEMails, KeepsTheFirstFormOfAnAddressAndSortsIgnoringCase) {
  EXPECT_EQ(ExtractEMails("Bob@Example.com, bob@example.COM"), "Bob@Example.com\r\n");
  EXPECT_EQ(ExtractEMails("zed@x.org\r\nAmy@x.org\nmia@x.org\r"), "Amy@x.org\r\nmia@x.org\r\nzed@x.org\r\n");
  // Word sort: "-" decides only between otherwise equal addresses; "." < "@" < "_" < digits < letters.
  EXPECT_EQ(ExtractEMails("a-b@x.org ab@x.org a_b@x.org a.b@x.org a1@x.org"),
            "a.b@x.org\r\na_b@x.org\r\na1@x.org\r\nab@x.org\r\na-b@x.org\r\n");
}

TEST(ExtractEMails, IgnoresEverythingAfterANul) {
  EXPECT_EQ(ExtractEMails("first@example.com\0second@example.com"s), "first@example.com\r\n");
  EXPECT_EQ(ExtractEMails("\0only@example.com"s), "");
}

TEST(ExtractEMails, TreatsEveryNonAddressByteAsSeparator) {
  std::string text;
  for (int c = 1; c < 256; ++c) {
    if (!IsAddressChar(static_cast<char>(c))) text += static_cast<char>(c);
  }
  EXPECT_EQ(ExtractEMails("aa@b.c" + text + "dd@e.f"), "aa@b.c\r\ndd@e.f\r\n");
  int addressChars = 0;
  for (int c = 0; c < 256; ++c) addressChars += IsAddressChar(static_cast<char>(c));
  EXPECT_EQ(addressChars, 66);
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
