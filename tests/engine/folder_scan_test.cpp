#include "engine/folder_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "host/memory/mailbox_file.h"
#include "host/memory/memory_outlook.h"
#include "support/counted_heap.h"
#include "support/engine_host.h"
#include "support/recording_progress.h"

namespace qor::engine {
namespace {

using host::ItemType;
using ::testing::ElementsAre;

class FolderScanTest : public ::testing::Test {
 protected:
  TEmailData Scan(const std::string& path = "Mailbox\\Bounces") {
    TEmailData data{{"stale@example.com", "OLD", "", "N"}};
    GetEmailAddressesFromFolder(engineHost.Get(), path, data, progress);
    return data;
  }

  static std::vector<std::string> Addresses(const TEmailData& data) {
    std::vector<std::string> addresses;
    for (const auto& entry : data) addresses.push_back(entry[kAddress]);
    return addresses;
  }

  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create();
  std::shared_ptr<host::memory::MemoryFolder> mailbox = outlook->AddStore("Mailbox");
  std::shared_ptr<host::memory::MemoryFolder> bounces = mailbox->AddFolder("Bounces", ItemType::Mail);
  tests::EngineHost engineHost{outlook};
  tests::RecordingProgress progress;
};

TEST_F(FolderScanTest, RecordsEachAddressOnceWithTheFirstMessageThatHoldsIt) {
  const auto first = bounces->AddMail("Delivery to <Zoe@Example.com> failed; also amy@example.com");
  const auto second = bounces->AddMail("amy@example.com zoe@example.COM");
  const auto third = bounces->AddMail("new@example.net and AMY@EXAMPLE.COM");

  const TEmailData data = Scan();
  ASSERT_EQ(data.size(), 3u);
  EXPECT_EQ(data[0], (TEmailEntry{"amy@example.com", first->EntryID(), "", "N"}));
  EXPECT_EQ(data[1], (TEmailEntry{"zoe@example.com", first->EntryID(), "", "N"}));
  EXPECT_EQ(data[2], (TEmailEntry{"new@example.net", third->EntryID(), "", "N"}));
  (void)second;
}

TEST_F(FolderScanTest, DropsAddressesWithoutADotBetweenTheFirstTwoAtSigns) {
  bounces->AddMail(
      "postmaster@localhost user@ a@b@example.com c.d@e.f@g host@example.com. mailer-daemon@relay.example.org");
  EXPECT_THAT(Addresses(Scan()), ElementsAre("c.d@e.f@g", "host@example.com", "mailer-daemon@relay.example.org"));
}

TEST_F(FolderScanTest, LeavesTheTableEmptyForEmptyOrMissingFolders) {
  EXPECT_TRUE(Scan().empty());
  bounces->AddMail("nothing to see here");
  EXPECT_TRUE(Scan().empty());
  EXPECT_THROW(Scan("Mailbox\\Nowhere"), host::HostError);
  EXPECT_TRUE(Scan("").empty());
}

TEST_F(FolderScanTest, ReadsEveryKindOfItemAndReportsProgressPerItem) {
  bounces->AddMail("one@example.com", "report", host::ItemClass::Report);
  bounces->AddMail("two@example.com", "note", host::ItemClass::Note);
  bounces->AddContact({.fullName = "C", .body = "three@example.com"});

  EXPECT_THAT(Addresses(Scan()), ElementsAre("one@example.com", "two@example.com", "three@example.com"));
  EXPECT_EQ(progress.minimum, 0);
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_THAT(progress.repaintedAt, ElementsAre(1, 2, 3));
  EXPECT_EQ(progress.position, 0);
}

TEST_F(FolderScanTest, KeepsEntriesFoundBeforeAFailingItemAndResetsTheBar) {
  bounces->AddMail("kept@example.com");
  bounces->AddMail("lost@example.com")->FailWith("The operation failed.");
  bounces->AddMail("never@example.com");

  TEmailData data;
  try {
    GetEmailAddressesFromFolder(engineHost.Get(), "Mailbox\\Bounces", data, progress);
    FAIL() << "the scan hid the host's failure";
  } catch (const host::HostError& e) {
    EXPECT_EQ(e.what(), tests::HostFailure("MailItem.Body", "The operation failed."));
  }
  EXPECT_THAT(Addresses(data), ElementsAre("kept@example.com"));
  EXPECT_EQ(progress.position, 0);
}

// Enough addresses to outgrow the set of addresses met several times, each met again later in
// another case.
TEST_F(FolderScanTest, KeepsEachOfThousandsOfAddressesOnceWhateverTheirCase) {
  constexpr int kMessages = 3000;
  std::vector<std::string> entryIds;
  for (int n = 0; n < kMessages; ++n) {
    const std::string body =
        "user" + std::to_string(n) + "@example.com, again User" + std::to_string(n / 2) + "@Example.COM";
    entryIds.push_back(bounces->AddMail(body)->EntryID());
  }
  const TEmailData data = Scan();
  ASSERT_EQ(data.size(), static_cast<std::size_t>(kMessages));
  for (int n = 0; n < kMessages; ++n) {
    EXPECT_EQ(data[n], (TEmailEntry{"user" + std::to_string(n) + "@example.com", entryIds[n], "", "N"}));
  }
}

// A bounce repeats the addresses it names, and a folder of bounces repeats them between messages:
// the scan reads each body in place and looks each address up without a copy of it.
TEST_F(FolderScanTest, AllocatesNothingPerRepeatedAddress) {
  const auto bodyNaming = [](int times) {
    std::string body;
    for (int i = 0; i < times; ++i) body += i % 2 ? "<Someone.Else@Example.COM>, " : "someone.else@example.com ";
    body.resize(2000, ' ');
    return body;
  };
  const auto once = mailbox->AddFolder("Once", ItemType::Mail);
  const auto often = mailbox->AddFolder("Often", ItemType::Mail);
  for (int i = 0; i < 5; ++i) {
    once->AddMail(bodyNaming(i == 0 ? 1 : 0));
    often->AddMail(bodyNaming(50));
  }
  TEmailData data;
  NullProgress quiet;
  const auto allocationsOfScan = [&](const std::string& path) {
    const long before = tests::heap::allocations;
    GetEmailAddressesFromFolder(engineHost.Get(), path, data, quiet);
    return tests::heap::allocations - before;
  };
  allocationsOfScan("Mailbox\\Once");
  EXPECT_EQ(allocationsOfScan("Mailbox\\Often"), allocationsOfScan("Mailbox\\Once"));
  EXPECT_THAT(Addresses(data), ElementsAre("someone.else@example.com"));
}

TEST(MarkEmail, MarksEveryEntryOfTheAddressIgnoringCase) {
  TEmailData data{{"a@example.com", "1", "", "N"}, {"b@example.com", "2", "", "N"}, {"a@example.com", "3", "", "N"}};
  MarkEmail(data, "A@Example.COM", "y");
  EXPECT_EQ(data[0][kExcluded], "Y");
  EXPECT_EQ(data[1][kExcluded], "N");
  EXPECT_EQ(data[2][kExcluded], "Y");
  MarkEmail(data, " a@example.com", "N");
  EXPECT_EQ(data[0][kExcluded], "Y");
}

// The table's rules in one place: which marks take part under each action's reading, and which
// linked-contacts columns hold a group.
TEST(EmailData, MarksAndLinkedContactsReadAsEachActionReadsThem) {
  const auto marked = [](const char* mark) { return TEmailEntry{"a@example.com", "1", "", mark}; };
  EXPECT_TRUE(TakesPart(marked("N")));
  EXPECT_FALSE(TakesPart(marked(" N")));
  EXPECT_FALSE(TakesPart(marked("n"), MarkReading::Trimmed));
  EXPECT_TRUE(TakesPart(marked(" N "), MarkReading::Trimmed));
  EXPECT_TRUE(TakesPart(marked(" n "), MarkReading::TrimmedUpper));
  EXPECT_FALSE(TakesPart(marked("Y"), MarkReading::TrimmedUpper));

  EXPECT_FALSE(HasLinkedContacts("  p:id  "));  // five characters once trimmed
  EXPECT_TRUE(HasLinkedContacts("p:id,2"));
  EXPECT_FALSE(HasLinkedContacts(""));
}

// The bundled sample holds real bounces; the scan must find every recipient they report.
TEST(SampleMailbox, ScanFindsEveryReportedRecipient) {
  const std::string samples = std::string(QOR_SOURCE_DIR) + "/samples/";
  tests::EngineHost outlook(host::memory::LoadMailbox(samples + "mailbox.json"));
  TEmailData data;
  NullProgress progress;
  GetEmailAddressesFromFolder(outlook.Get(), "Mailbox\\Bounces", data, progress);

  std::set<std::string> found;
  for (const auto& entry : data) found.insert(entry[kAddress]);
  EXPECT_EQ(found.size(), data.size());

  std::ifstream expected(samples + "expected-addresses.txt");
  ASSERT_TRUE(expected);
  int checked = 0;
  for (std::string address; std::getline(expected, address); ++checked) {
    EXPECT_TRUE(found.count(address)) << address;
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace qor::engine
