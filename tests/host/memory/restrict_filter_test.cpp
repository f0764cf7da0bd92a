#include "host/memory/restrict_filter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/memory/memory_outlook.h"

namespace qor::host::memory {
namespace {

using ::testing::ElementsAre;
using ::testing::ThrowsMessage;

class RestrictTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names(const std::string& filter) {
    std::vector<std::string> names;
    auto matches = folder_->Items()->Restrict(filter);
    for (auto item = matches->GetFirst(); item; item = matches->GetNext()) {
      names.push_back(std::dynamic_pointer_cast<MemoryItem>(item)->StoredSubject());
    }
    return names;
  }

  std::shared_ptr<MemoryFolder> folder_ = MemoryOutlook::Create()->AddStore("Mailbox");
};

TEST_F(RestrictTest, EngineAddressFilterMatchesAnyFieldIgnoringCase) {
  folder_->AddContact({.fullName = "first", .email1Address = "A@B.com"});
  folder_->AddMail("a@b.com", "mail with the address in its body");
  folder_->AddContact({.fullName = "other", .email1Address = "x@b.com", .email2Address = "a@b.co"});
  folder_->AddContact({.fullName = "third field", .email3Address = "a@B.COM"});
  folder_->AddContact({.fullName = "second field", .email2Address = "a@b.com"});

  EXPECT_THAT(Names("[Email1Address] = \"a@b.com\" or [Email2Address] = \"a@b.com\" or "
                    "[Email3Address] = \"a@b.com\""),
              ElementsAre("first", "third field", "second field"));
  EXPECT_THAT(Names("[Email3Address] = \"a@b.com\""), ElementsAre("third field"));
  EXPECT_THAT(Names("[Body] = \"A@B.COM\""), ElementsAre("mail with the address in its body"));
}

TEST_F(RestrictTest, AndBindsTighterThanOrAndParenthesesRegroup) {
  folder_->AddContact({.fullName = "x", .companyName = "none", .email1Address = "none"});
  folder_->AddContact({.fullName = "c only", .companyName = "c", .email1Address = "none"});
  folder_->AddContact({.fullName = "c and e", .companyName = "c", .email1Address = "e"});
  folder_->AddContact({.fullName = "e only", .companyName = "none", .email1Address = "e"});

  EXPECT_THAT(Names("[FullName] = \"x\" or [CompanyName] = \"c\" and [Email1Address] = \"e\""),
              ElementsAre("x", "c and e"));
  EXPECT_THAT(Names("[CompanyName] = \"c\" AND [Email1Address] = \"e\" Or [FullName] = \"x\""),
              ElementsAre("x", "c and e"));
  EXPECT_THAT(Names("([FullName] = \"x\" or [CompanyName] = \"c\") and [Email1Address] = \"e\""),
              ElementsAre("c and e"));
  EXPECT_THAT(Names("not ([CompanyName] = \"c\" or [FullName] = \"x\")"), ElementsAre("e only"));
  EXPECT_THAT(Names("[CompanyName] <> \"c\" and [email1address] <> 'E'"), ElementsAre("x"));
}

TEST_F(RestrictTest, QuotedValuesAndOtherProperties) {
  folder_->AddMail("say \"hi\"", "double");
  folder_->AddMail("it's", "single", ItemClass::Note);
  auto report = folder_->AddMail("", "report", ItemClass::Report, "ID-7");
  folder_->AddContact({.fullName = "Jo", .businessTelephoneNumber = "+1 555"});

  EXPECT_THAT(Names("[Body] = \"say \"\"hi\"\"\""), ElementsAre("double"));
  EXPECT_THAT(Names("[BODY]='IT''S'"), ElementsAre("single"));
  EXPECT_THAT(Names("[Subject] = 'REPORT'"), ElementsAre("report"));
  EXPECT_THAT(Names("[Subject] = 'jo'"), ElementsAre("Jo"));
  EXPECT_THAT(Names("[EntryID] = 'id-7'"), ElementsAre("report"));
  EXPECT_THAT(Names("[MessageClass] = 'ipm.contact' or [MessageClass] = 'IPM.StickyNote'"),
              ElementsAre("single", "Jo"));
  EXPECT_THAT(Names("[ BusinessTelephoneNumber ] = \"+1 555\""), ElementsAre("Jo"));
  // A contact's property on other items matches neither = nor <>.
  EXPECT_THAT(Names("[FullName] <> \"nobody\""), ElementsAre("Jo"));

  // Only the stored state counts: a later body change shows in a new restriction, not an old one.
  auto before = folder_->Items()->Restrict("[Body] = '' and [Subject] = 'report'");
  report->SetBody("now set");
  EXPECT_EQ(before->Count(), 1);
  EXPECT_EQ(folder_->Items()->Restrict("[Body] = '' and [Subject] = 'report'")->Count(), 0);
}

TEST_F(RestrictTest, RestrictOnARestrictionNarrowsItAndSkipsMovedItems) {
  auto target = folder_->AddFolder("Target", ItemType::Mail);
  folder_->AddMail("a", "one");
  auto moving = folder_->AddMail("a", "two");
  folder_->AddMail("b", "three");
  auto withA = folder_->Items()->Restrict("[Body] = 'a'");
  ASSERT_EQ(withA->Count(), 2);
  moving->Move(*target);
  EXPECT_EQ(withA->Count(), 2);
  auto narrowed = withA->Restrict("[Subject] = 'one' or [Subject] = 'two'");
  ASSERT_EQ(narrowed->Count(), 1);
  EXPECT_EQ(std::dynamic_pointer_cast<MemoryItem>(narrowed->Item(1))->Subject(), "one");
  EXPECT_THROW(narrowed->Item(2), HostError);
}

TEST(RestrictFilter, ParseErrorsQuoteTheFilterFromTheBadToken) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[Email1Address] = \"a\" xor [Email2Address] = \"b\"", "xor [Email2Address] = \"b\""},
      {"[Email1Address] \"a\"", "\"a\""},
      {"[Email1Address] = \"a", "\"a"},
      {"[Email1Address] = a", "a"},
      {"Email1Address = \"a\"", "Email1Address = \"a\""},
      {"[Email1Address = \"a\"", "[Email1Address = \"a\""},
      {"([Body] = 'a'", ""},
      {"[Body] = 'a' or", ""},
      {"[Body] = 'a')", ")"},
      {"[Body] = 'a' orr [Body] = 'b'", "orr [Body] = 'b'"},
      {"", ""},
      {std::string(1000, '('), std::string(900, '(')},
  };
  for (const auto& [filter, rest] : cases) {
    EXPECT_THAT([&] { RestrictFilter parsed(filter); },
                ThrowsMessage<HostError>("Cannot parse condition. Error at \"" + rest + "\"."))
        << filter;
  }
}

TEST(RestrictFilter, UnknownPropertyIsNamed) {
  EXPECT_THAT([] { RestrictFilter parsed("[Email4Address] = \"a\""); },
              ThrowsMessage<HostError>("The property \"Email4Address\" in the condition is not valid."));
  EXPECT_THAT([] { RestrictFilter parsed("[Body] = 'a' or [Sender Name] = 'b'"); },
              ThrowsMessage<HostError>("The property \"Sender Name\" in the condition is not valid."));
}

}  // namespace
}  // namespace qor::host::memory
