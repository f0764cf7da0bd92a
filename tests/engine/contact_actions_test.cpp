#include "engine/contact_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using host::memory::ContactFields;
using host::memory::MemoryContact;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kContacts = "Mailbox\\Contacts";

class ContactActionsTest : public tests::EngineFixture {
 protected:
  std::shared_ptr<MemoryContact> Contact(std::string email1, std::string email2 = "", std::string email3 = "",
                                         std::string body = "") {
    return contacts->AddContact({.fullName = "C" + std::to_string(++made_),
                                 .email1Address = std::move(email1),
                                 .email2Address = std::move(email2),
                                 .email3Address = std::move(email3),
                                 .body = std::move(body)});
  }

  static std::vector<std::string> Slots(const std::shared_ptr<MemoryContact>& contact) {
    const ContactFields& stored = contact->StoredFields();
    return {stored.email1Address, stored.email2Address, stored.email3Address};
  }

  static std::vector<std::string> Bodies(const std::shared_ptr<host::memory::MemoryFolder>& folder) {
    std::vector<std::string> bodies;
    for (const auto& item : folder->ItemsInOrder()) bodies.push_back(item->StoredBody());
    return bodies;
  }

  static std::vector<std::string> Names(const std::shared_ptr<host::memory::MemoryFolder>& folder) {
    std::vector<std::string> names;
    for (const auto& item : folder->ItemsInOrder()) names.push_back(item->StoredSubject());
    return names;
  }

  int made_ = 0;
};

// A, B, C in the slots, as the edge cases name them.
constexpr const char* kA = "amy@example.com";
constexpr const char* kB = "bob@example.org";
constexpr const char* kC = "carl@example.net";

TEST_F(ContactActionsTest, DeleteEmailAddress_CascadeMovesRemainingAddressesUp) {
  const auto full = Contact(kA, kB, kC);
  const auto gap = Contact(kA, "", kC);
  const auto twice = Contact(kA, kB, kA);
  const auto padded = Contact("  AMY@Example.com ", " bob@example.org ", kC);
  AddEntry(kA, "M", LinkedIn(kContacts, full, gap, twice, padded));

  DeleteEmailAddress(context, true);

  EXPECT_THAT(Slots(full), ElementsAre(kB, kC, ""));
  EXPECT_THAT(Slots(gap), ElementsAre(kC, "", ""));
  EXPECT_THAT(Slots(twice), ElementsAre(kB, "", ""));
  EXPECT_THAT(Slots(padded), ElementsAre(kB, kC, ""));
}

// A contact that refuses its second save stays whole: the removal and its cascade are one save.
TEST_F(ContactActionsTest, DeleteEmailAddress_SavesEachContactOnce) {
  const auto full = Contact(kA, kB, kC);
  full->FailSavesAfter(1);
  AddEntry(kA, "M", LinkedIn(kContacts, full));

  DeleteEmailAddress(context, true);

  EXPECT_THAT(Slots(full), ElementsAre(kB, kC, ""));
}

TEST_F(ContactActionsTest, DeleteEmailAddress_WithoutCascadeOnlyEmptiesTheMatchingSlot) {
  const auto full = Contact(kA, kB, kC);
  const auto gap = Contact(kA, "", kC);
  const auto second = Contact(kB, "AMY@example.com", kC);
  const auto third = Contact(kB, kC, kA);
  AddEntry(kA, "M", LinkedIn(kContacts, full, gap, second, third));

  DeleteEmailAddress(context, false);

  EXPECT_THAT(Slots(full), ElementsAre("", kB, kC));
  EXPECT_THAT(Slots(gap), ElementsAre("", "", kC));
  EXPECT_THAT(Slots(second), ElementsAre(kB, "", kC));
  EXPECT_THAT(Slots(third), ElementsAre(kB, kC, ""));
}

TEST_F(ContactActionsTest, DeleteEmailAddress_ComparesOnlyTheFirstSlotTrimmed) {
  const auto second = Contact(kB, " amy@example.com", kC);
  const auto third = Contact(kB, kC, "amy@example.com ");
  const auto cascaded = Contact(kB, kA, " carl@example.net ");
  AddEntry(kA, "M", LinkedIn(kContacts, second, third, cascaded));

  DeleteEmailAddress(context, true);

  EXPECT_THAT(Slots(second), ElementsAre(kB, " amy@example.com", kC));
  EXPECT_THAT(Slots(third), ElementsAre(kB, kC, "amy@example.com "));
  EXPECT_THAT(Slots(cascaded), ElementsAre(kB, kC, ""));  // moved up trimmed
}

TEST_F(ContactActionsTest, DeleteEmailAddress_TakesOnlyIncludedEntriesWithAGroupLongerThanFiveCharacters) {
  const auto store = outlook->AddStore("S", "", host::ItemType::Contact);
  const auto one = store->AddContact({.email1Address = kA}, "1");
  const auto two = store->AddContact({.email1Address = kA}, "2");
  const auto longer = store->AddContact({.email1Address = kA}, "22");
  const auto excluded = Contact(kA);
  const auto blankMark = Contact(kA);
  AddEntry(kA, "M", "S:1");
  AddEntry(kA, "M", " S:1,2 ");
  AddEntry(kA, "M", LinkedIn(kContacts, excluded), "Y");
  AddEntry(kA, "M", LinkedIn(kContacts, blankMark), " N ");
  AddEntry(kA, "M", "S:1,22");

  DeleteEmailAddress(context, true);

  EXPECT_THAT(Slots(two), ElementsAre(kA, "", ""));
  EXPECT_THAT(Slots(excluded), ElementsAre(kA, "", ""));
  EXPECT_THAT(Slots(blankMark), ElementsAre("", "", ""));
  EXPECT_THAT(Slots(one), ElementsAre("", "", ""));  // through the last entry
  EXPECT_THAT(Slots(longer), ElementsAre("", "", ""));
}

TEST_F(ContactActionsTest, AddNotes_AppendsTheNoteAfterAnEmptyLine) {
  const auto withNotes = Contact(kA, "", "", "Met at the fair.");
  const auto withoutNotes = Contact(kA);
  const auto skipped = Contact(kB);
  AddEntry(kA, "M", LinkedIn(kContacts, withNotes, withoutNotes));
  AddEntry(kB, "M", LinkedIn(kContacts, skipped), "Y");
  AddEntry(kC);

  AddNotes(context, true);
  EXPECT_EQ(withNotes->StoredBody(), "Met at the fair.\r\n\r\n09/12/2026 [Processed by QOR]\r\namy@example.com");
  EXPECT_EQ(withoutNotes->StoredBody(), "\r\n\r\n09/12/2026 [Processed by QOR]\r\namy@example.com");
  EXPECT_EQ(skipped->StoredBody(), "");
  EXPECT_THAT(progress.labels, ElementsAre("Updating Notes..."));
  EXPECT_EQ(progress.minimum, 0);
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_EQ(progress.position, 3);

  AddNotes(context, false);
  EXPECT_EQ(withoutNotes->StoredBody(),
            "\r\n\r\n09/12/2026 [Processed by QOR]\r\namy@example.com\r\n\r\n[Processed by QOR] amy@example.com");
  EXPECT_THAT(fakes.messages.shown, IsEmpty());
}

TEST_F(ContactActionsTest, AddNotes_FailureShowsTheEntrysAddressAndLeavesLaterEntriesAlone) {
  const auto first = Contact(kA);
  const auto failing = Contact(kB);
  const auto third = Contact(kC);
  AddEntry(kA, "M", LinkedIn(kContacts, first));
  AddEntry(kB, "M", LinkedIn(kContacts, failing));
  AddEntry(kC, "M", LinkedIn(kContacts, third));
  failing->FailWith("The operation failed.");

  EXPECT_NO_THROW(AddNotes(context, false));

  EXPECT_THAT(fakes.messages.shown, ElementsAre(kB));
  EXPECT_EQ(first->StoredBody(), "\r\n\r\n[Processed by QOR] amy@example.com");
  EXPECT_EQ(third->StoredBody(), "");
  EXPECT_EQ(progress.position, 2);
}

TEST_F(ContactActionsTest, AddNotes_SkipsGroupsWithoutAFolderPathAndItemsThatAreNoContacts) {
  const auto mail = bounces->AddMail("not a contact");
  AddEntry(kA, "M", ":" + mail->EntryID());
  AddEntry(kB, "M", LinkedIn("Mailbox\\Bounces", mail));
  AddNotes(context, false);
  EXPECT_THAT(fakes.messages.shown, IsEmpty());
  EXPECT_EQ(mail->StoredBody(), "not a contact");
}

TEST_F(ContactActionsTest, MoveContactsToFolder_MovesAContactLinkedToSeveralEntriesOnce) {
  const auto both = Contact(kA, kB);
  const auto other = Contact(kA);
  const auto excluded = Contact(kC);
  AddEntry(kA, "M", LinkedIn(kContacts, both, other));
  AddEntry(kC, "M", LinkedIn(kContacts, excluded), "Y");
  AddEntry(kB, "M", LinkedIn(kContacts, both));

  MoveContactsToFolder(context, "Mailbox\\Moved Contacts", ContactTransfer::Move);

  EXPECT_THAT(Names(contacts), ElementsAre("C3"));
  EXPECT_THAT(Names(movedContacts), ElementsAre("C1", "C2"));
  EXPECT_THAT(progress.labels, ElementsAre("Updating Notes..."));
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_EQ(progress.position, 3);
}

TEST_F(ContactActionsTest, MoveContactsToFolder_CopiesAContactLinkedToSeveralEntriesOnceAndKeepsTheSource) {
  const auto both = Contact(kA, kB, "", "notes");
  const auto other = Contact(kA);
  AddEntry(kA, "M", LinkedIn(kContacts, both, other));
  AddEntry(kB, "M", LinkedIn(kContacts, both));

  MoveContactsToFolder(context, "Mailbox\\Moved Contacts", ContactTransfer::Copy);

  EXPECT_THAT(Names(contacts), ElementsAre("C1", "C2"));
  EXPECT_THAT(Names(movedContacts), ElementsAre("C1", "C2"));
  EXPECT_THAT(Bodies(movedContacts), ElementsAre("notes", ""));
}

TEST_F(ContactActionsTest, MoveContactsToFolder_FailsBeforeCopyingWhenTheDestinationIsMissing) {
  const auto contact = Contact(kA);
  AddEntry(kA, "M", LinkedIn(kContacts, contact));
  EXPECT_THROW(MoveContactsToFolder(context, "", ContactTransfer::Copy), host::HostError);
  EXPECT_THAT(Names(contacts), ElementsAre("C1"));
  EXPECT_THROW(MoveContactsToFolder(context, "Mailbox\\Gone", ContactTransfer::Move), host::HostError);
  EXPECT_THAT(Names(contacts), ElementsAre("C1"));
}

}  // namespace
}  // namespace qor::engine
