#include "engine/contact_matching.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "engine/contact_actions.h"
#include "engine/export_file.h"
#include "engine/linked_contacts.h"
#include "platform/text_file.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::ElementsAre;

class ContactMatchingTest : public tests::EngineFixture {
 protected:
  RunOptions Scanning(std::vector<std::string> folders) {
    RunOptions options;
    options.scanContactFolders = true;
    options.contactFolders = std::move(folders);
    return options;
  }

  std::string Column(std::size_t index) const { return data[index][kLinkedContacts]; }
};

TEST_F(ContactMatchingTest, GetLinkedContacts_GroupsContactsPerFolderInListOrder) {
  const auto first = contacts->AddContact({.fullName = "First", .email1Address = "amy@example.com"});
  contacts->AddContact({.fullName = "Other", .email1Address = "zed@example.com"});
  const auto third = contacts->AddContact({.fullName = "Third", .email3Address = "AMY@Example.COM"});
  const auto moved = movedContacts->AddContact({.fullName = "Moved", .email2Address = "amy@example.com"});
  const auto excluded = movedContacts->AddContact({.fullName = "Excluded", .email1Address = "bob@example.org"});
  AddEntry("amy@example.com");
  AddEntry("nobody@example.com");
  AddEntry("bob@example.org", "M", "", "Y");

  GetLinkedContacts(context, Scanning({"Mailbox\\Contacts", "Mailbox\\Moved Contacts"}));

  EXPECT_EQ(Column(0), LinkedIn("Mailbox\\Contacts", first, third) + ";" + LinkedIn("mailbox\\moved contacts", moved));
  EXPECT_EQ(Column(1), "");
  EXPECT_EQ(Column(2), LinkedIn("Mailbox\\Moved Contacts", excluded));
  EXPECT_THAT(progress.labels, ElementsAre("Matching e-mail addresses in \"Contacts\"...",
                                           "Matching e-mail addresses in \"Moved Contacts\"..."));
  EXPECT_EQ(progress.minimum, 0);
  EXPECT_EQ(progress.maximum, 4);
  EXPECT_EQ(progress.position, 3);
  EXPECT_THAT(progress.repaintedAt, ElementsAre(0, 1, 2, 3, 0, 1, 2, 3));
}

// One pass over each folder gives the column one restriction per address gives, on contact folders
// with every shape of field Outlook's filter must compare: letter case, blanks, empty fields, an
// address in two fields of one contact or in many contacts, items that are no contacts.
TEST_F(ContactMatchingTest, GetLinkedContacts_OnePassGivesTheColumnOfOneRestrictionPerAddress) {
  std::mt19937 random(20261210);
  const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  std::vector<std::string> pool;
  for (int i = 0; i < 40; ++i) pool.push_back("user" + std::to_string(i) + "@example" + std::to_string(i % 3) + ".com");
  const auto variant = [&](std::string address) {
    for (char& c : address)
      if (pick(4) == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    switch (pick(8)) {
      case 0: return " " + address;
      case 1: return address + " ";
      default: return address;
    }
  };
  const auto field = [&]() -> std::string { return pick(3) == 0 ? "" : variant(pool[pick(40)]); };
  for (const auto& folder : {contacts, movedContacts}) {
    for (int i = 0; i < 150; ++i) {
      host::memory::ContactFields fields{.fullName = "Contact " + std::to_string(i)};
      fields.email1Address = field();
      fields.email2Address = pick(5) == 0 ? fields.email1Address : field();
      fields.email3Address = field();
      folder->AddContact(fields);
      if (pick(20) == 0) folder->AddMail("A note naming " + pool[pick(40)]);
    }
  }
  for (const auto& address : pool) AddEntry(variant(address), "M", pick(3) == 0 ? "x" : "");
  AddEntry("nobody@example.com");

  const engine::TEmailData before = data;
  const RunOptions options = Scanning({"Mailbox\\Contacts", "Mailbox\\Moved Contacts"});
  GetLinkedContacts(context, options, ContactMatching::RestrictPerAddress);
  const engine::TEmailData restricted = std::exchange(data, before);
  GetLinkedContacts(context, options, ContactMatching::OnePass);

  ASSERT_EQ(data.size(), restricted.size());
  std::size_t linked = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    EXPECT_EQ(data[i][kLinkedContacts], restricted[i][kLinkedContacts]) << data[i][kAddress];
    linked += data[i][kLinkedContacts].find(';') != std::string::npos;
  }
  EXPECT_GT(linked, 10u) << "addresses found in both folders";
}

TEST_F(ContactMatchingTest, GetLinkedContacts_ReplacesColumnsTooShortToHoldAGroup) {
  const auto contact = contacts->AddContact({.fullName = "C", .email1Address = "amy@example.com"});
  AddEntry("amy@example.com", "M", "      ");
  AddEntry("amy@example.com", "M", " ab:cd ");
  AddEntry("amy@example.com", "M", " X\\Y:12 ");

  GetLinkedContacts(context, Scanning({"Mailbox\\Contacts"}));

  EXPECT_EQ(Column(0), LinkedIn("Mailbox\\Contacts", contact));
  EXPECT_EQ(Column(1), LinkedIn("Mailbox\\Contacts", contact));
  EXPECT_EQ(Column(2), "X\\Y:12;" + LinkedIn("mailbox\\contacts", contact));
}

TEST_F(ContactMatchingTest, GetLinkedContacts_LeavesColumnsEmptyUnlessScanningIsTicked) {
  contacts->AddContact({.fullName = "C", .email1Address = "amy@example.com"});
  AddEntry("amy@example.com");
  RunOptions options = Scanning({"Mailbox\\Contacts"});
  options.scanContactFolders = false;
  GetLinkedContacts(context, options);
  GetLinkedContacts(context, Scanning({}));
  EXPECT_EQ(Column(0), "");
  EXPECT_TRUE(progress.labels.empty());
}

TEST_F(ContactMatchingTest, GetLinkedContacts_FailsOnAMissingFolderKeepingEarlierGroups) {
  const auto contact = contacts->AddContact({.fullName = "C", .email1Address = "amy@example.com"});
  AddEntry("amy@example.com");
  EXPECT_THROW(GetLinkedContacts(context, Scanning({"Mailbox\\Contacts", "Mailbox\\Gone"})), host::HostError);
  EXPECT_EQ(Column(0), LinkedIn("Mailbox\\Contacts", contact));
  EXPECT_THROW(GetLinkedContacts(context, Scanning({""})), host::HostError);
}

// Folder names and entry ids may hold the column's own separators; every reader gets them back
// whole, and the export shows the folder as before.
TEST_F(ContactMatchingTest, SeparatorsInFolderNamesAndEntryIdsSurviveEveryReader) {
  const auto clients = mailbox->AddFolder("Clients: 2019; EU", ItemType::Contact);
  const auto odd = clients->AddContact({.fullName = "Odd", .email1Address = "amy@example.com"}, "0A,1B;2C:3D %41 ");
  const auto plain = contacts->AddContact({.fullName = "Plain", .email2Address = "amy@example.com"});
  AddEntry("amy@example.com");

  GetLinkedContacts(context, Scanning({"Mailbox\\Clients: 2019; EU", "Mailbox\\Contacts"}));
  const auto groups = SplitLinkedContacts(Column(0));
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].folderPath, "Mailbox\\Clients: 2019; EU");
  EXPECT_THAT(groups[0].entryIds, ElementsAre(odd->EntryID()));
  EXPECT_EQ(groups[1].folderPath, "mailbox\\contacts");

  RunOptions options;
  options.tabFilePath = platform::PathToUtf8(appFolder.Path() / "export.txt");
  options.exportContactFields = true;
  options.exportName = true;
  ExportToTabFile(context, options);
  EXPECT_EQ(platform::ReadTextFile(appFolder.Path() / "export.txt"),
            "E-mail Address\tSource Contact Folder\tFullName\r\n"
            "amy@example.com\tMailbox\\Clients: 2019; EU\tOdd\r\n"
            "amy@example.com\tmailbox\\contacts\tPlain\r\n");

  DeleteEmailAddress(context, true);
  EXPECT_EQ(odd->Email1Address(), "");
  EXPECT_EQ(plain->Email2Address(), "");
}

}  // namespace
}  // namespace qor::engine
