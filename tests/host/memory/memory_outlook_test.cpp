#include "host/memory/memory_outlook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/memory/outlook_id_matcher.h"

namespace qor::host::memory {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

constexpr const char* kNotFound = "The attempted operation failed.  An object could not be found.";
constexpr const char* kOutOfBounds = "Array index out of bounds.";
constexpr const char* kMoved = "The item has been moved or deleted.";
constexpr const char* kCannotOpen = "Could not open the item. Try again.";

TEST(MemoryOutlook, Folders_ItemIgnoresLetterCaseAndFailsForUnknownName) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox");
  auto bounces = root->AddFolder("Bounces", ItemType::Mail);
  root->AddFolder("Contacts", ItemType::Contact);

  auto folders = root->Folders();
  EXPECT_EQ(folders->Count(), 2);
  EXPECT_EQ(folders->Item("bOUNCES"), bounces);
  EXPECT_EQ(folders->Item(1), bounces);
  EXPECT_EQ(folders->Item(2)->DefaultItemType(), ItemType::Contact);
  EXPECT_THAT([&] { folders->Item("Bounce"); }, ThrowsMessage<HostError>(kNotFound));
  EXPECT_THAT([&] { folders->Item(0); }, ThrowsMessage<HostError>(kOutOfBounds));
  EXPECT_THAT([&] { folders->Item(3); }, ThrowsMessage<HostError>(kOutOfBounds));
  EXPECT_EQ(outlook->Session()->Folders()->Item("MAILBOX"), root);

  // The collection is live.
  root->AddFolder("Later", ItemType::Mail);
  EXPECT_EQ(folders->Count(), 3);
  EXPECT_THROW(root->AddFolder("later", ItemType::Mail), std::invalid_argument);
}

TEST(MemoryOutlook, Folder_ParentOfTopLevelIsNullAndFoldersShareTheirStoreId) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox", "S1");
  auto inbox = root->AddFolder("Inbox", ItemType::Mail);
  auto sub = inbox->AddFolder("Sub", ItemType::Note);

  EXPECT_EQ(root->Parent(), nullptr);
  EXPECT_EQ(sub->Parent(), inbox);
  EXPECT_EQ(inbox->Parent(), root);
  EXPECT_EQ(sub->StoreID(), "S1");
  EXPECT_EQ(root->StoreID(), "S1");
  EXPECT_NE(sub->EntryID(), inbox->EntryID());
  EXPECT_EQ(sub->Name(), "Sub");
  EXPECT_EQ(sub->DefaultItemType(), ItemType::Note);
}

TEST(MemoryOutlook, Stores_IdsAreGeneratedOrGivenAndNeverDuplicated) {
  auto outlook = MemoryOutlook::Create();
  auto first = outlook->AddStore("One");
  auto second = outlook->AddStore("Two", "S2");
  auto third = outlook->AddStore("One");
  EXPECT_THAT(first->StoreID(), tests::IsOutlookStyleId());
  EXPECT_NE(first->StoreID(), third->StoreID());
  EXPECT_EQ(second->StoreID(), "S2");
  EXPECT_THROW(outlook->AddStore("Again", "S2"), std::invalid_argument);
  EXPECT_THROW(outlook->AddStore("Again", first->StoreID()), std::invalid_argument);

  auto folders = outlook->Session()->Folders();
  ASSERT_EQ(folders->Count(), 3);
  EXPECT_EQ(folders->Item(2), second);
  EXPECT_EQ(folders->Item("one"), first);
}

TEST(MemoryOutlook, Application_OnlyMapiNamespaceWhichIsTheSession) {
  auto outlook = MemoryOutlook::Create("12.0.0.6423");
  EXPECT_EQ(outlook->GetNamespace("MAPI"), outlook->Session());
  EXPECT_EQ(outlook->GetNamespace("mapi"), outlook->Session());
  EXPECT_THROW(outlook->GetNamespace("OTHER"), HostError);
  EXPECT_THROW(outlook->GetNamespace(""), HostError);
  EXPECT_EQ(outlook->Version(), "12.0.0.6423");
  EXPECT_EQ(MemoryOutlook::Create()->Version(), "16.0.0.4266");

  // The session keeps its Outlook alive, as a COM reference would.
  auto session = outlook->Session();
  auto root = outlook->AddStore("Mailbox");
  outlook.reset();
  EXPECT_EQ(session->Folders()->Item(1), root);
}

TEST(MemoryOutlook, Explorer_AbsentWithoutFolderAndShowsTheActiveFolder) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox");
  auto bounces = root->AddFolder("Bounces", ItemType::Mail);
  EXPECT_EQ(outlook->ActiveExplorer(), nullptr);

  outlook->SetActiveExplorerFolder(bounces);
  ASSERT_NE(outlook->ActiveExplorer(), nullptr);
  EXPECT_EQ(outlook->ActiveExplorer()->CurrentFolder(), bounces);

  outlook->SetActiveExplorerFolder(nullptr);
  EXPECT_EQ(outlook->ActiveExplorer(), nullptr);

  auto other = MemoryOutlook::Create();
  EXPECT_THROW(outlook->SetActiveExplorerFolder(other->AddStore("Elsewhere")), std::invalid_argument);
}

TEST(MemoryOutlook, PickFolder_AnswersInQueueOrderThenAsksTheUserElseCancels) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox");
  auto a = root->AddFolder("A", ItemType::Mail);
  auto b = root->AddFolder("B", ItemType::Mail);
  outlook->QueuePickFolder(a);
  outlook->QueuePickFolder(nullptr);
  outlook->QueuePickFolder(b);

  auto session = outlook->GetNamespace("MAPI");
  EXPECT_EQ(session->PickFolder(), a);
  EXPECT_EQ(session->PickFolder(), nullptr);
  EXPECT_EQ(session->PickFolder(), b);
  EXPECT_EQ(session->PickFolder(), nullptr);

  // Once the queue is empty a user's dialog answers; queued answers still go first.
  int asked = 0;
  outlook->SetFolderPicker([&] {
    ++asked;
    return a;
  });
  outlook->QueuePickFolder(b);
  EXPECT_EQ(session->PickFolder(), b);
  EXPECT_EQ(session->PickFolder(), a);
  EXPECT_EQ(asked, 1);
  outlook->SetFolderPicker(nullptr);
  EXPECT_EQ(session->PickFolder(), nullptr);
}

TEST(MemoryOutlook, EntryIds_LookLikeOutlooksAndNeverCollideWithinAStore) {
  auto probe = MemoryOutlook::Create()->AddStore("Mailbox", "S1");
  const std::string firstGenerated = probe->AddMail("")->EntryID();
  const std::string secondGenerated = probe->AddMail("")->EntryID();
  EXPECT_THAT(firstGenerated, tests::IsOutlookStyleId());
  EXPECT_NE(firstGenerated, secondGenerated);

  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox", "S1");
  auto given = root->AddMail("given", {}, ItemClass::Mail, firstGenerated);
  EXPECT_EQ(given->EntryID(), firstGenerated);
  EXPECT_EQ(root->AddMail("generated")->EntryID(), secondGenerated);
  EXPECT_THROW(root->AddMail("dup", {}, ItemClass::Mail, firstGenerated), std::invalid_argument);
  EXPECT_THROW(root->AddMail("contact?", {}, ItemClass::Contact), std::invalid_argument);

  // Unique within a store only: another store may use the same id.
  auto other = outlook->AddStore("Archive", "S2");
  EXPECT_NO_THROW(other->AddMail("same id", {}, ItemClass::Mail, firstGenerated));
}

TEST(MemoryOutlook, GetItemFromID_LooksInTheNamedStoreOrInAllStores) {
  auto outlook = MemoryOutlook::Create();
  auto one = outlook->AddStore("One", "S1");
  auto two = outlook->AddStore("Two", "S2");
  auto inOne = one->AddMail("one", {}, ItemClass::Mail, "X");
  auto inTwo = two->AddFolder("Inbox", ItemType::Mail)->AddMail("two", {}, ItemClass::Report, "X");
  auto onlyInTwo = two->AddMail("only", {}, ItemClass::Note, "Y");
  auto session = outlook->Session();

  EXPECT_EQ(session->GetItemFromID("X", "S1"), inOne);
  EXPECT_EQ(session->GetItemFromID("X", "S2"), inTwo);
  EXPECT_EQ(session->GetItemFromID("X", ""), inOne);
  EXPECT_EQ(session->GetItemFromID("Y", ""), onlyInTwo);
  EXPECT_THAT([&] { session->GetItemFromID("Y", "S1"); }, ThrowsMessage<HostError>(kCannotOpen));
  EXPECT_THAT([&] { session->GetItemFromID("Z", ""); }, ThrowsMessage<HostError>(kCannotOpen));
  EXPECT_THAT([&] { session->GetItemFromID("X", "S3"); }, ThrowsMessage<HostError>(kNotFound));
  EXPECT_THAT([&] { session->GetItemFromID("", "S1"); }, ThrowsMessage<HostError>(kCannotOpen));
}

TEST(MemoryOutlook, Move_GivesANewIdAndLeavesTheOldObjectStale) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox", "S1");
  auto inbox = root->AddFolder("Inbox", ItemType::Mail);
  auto bounces = root->AddFolder("Bounces", ItemType::Mail);
  auto first = inbox->AddMail("first body", "first", ItemClass::Report, "M1");
  auto second = inbox->AddMail("second body", "second", ItemClass::Mail, "M2");
  auto inboxItems = inbox->Items();
  auto bouncesItems = bounces->Items();

  auto moved = first->Move(*bounces);
  ASSERT_NE(moved, nullptr);
  EXPECT_NE(moved->EntryID(), "M1");
  EXPECT_EQ(moved->Body(), "first body");
  EXPECT_EQ(moved->Class(), ItemClass::Report);
  EXPECT_THAT([&] { first->Body(); }, ThrowsMessage<HostError>(kMoved));
  EXPECT_THAT([&] { first->EntryID(); }, ThrowsMessage<HostError>(kMoved));
  EXPECT_THAT([&] { first->Move(*inbox); }, ThrowsMessage<HostError>(kMoved));

  EXPECT_EQ(inboxItems->Count(), 1);
  EXPECT_EQ(inboxItems->Item(1), second);
  EXPECT_EQ(bouncesItems->Count(), 1);
  EXPECT_EQ(bouncesItems->Item(1), moved);
  auto session = outlook->Session();
  EXPECT_THROW(session->GetItemFromID("M1", "S1"), HostError);
  EXPECT_EQ(session->GetItemFromID(moved->EntryID(), "S1"), moved);

  // The old id is free again, as in a store after a move.
  EXPECT_NO_THROW(inbox->AddMail("reused", {}, ItemClass::Mail, "M1"));
}

class ForeignFolder : public Folder {
 public:
  std::string Name() override { return "foreign"; }
  std::shared_ptr<Folder> Parent() override { return nullptr; }
  std::shared_ptr<host::Folders> Folders() override { return nullptr; }
  std::shared_ptr<host::Items> Items() override { return nullptr; }
  std::string EntryID() override { return "F"; }
  std::string StoreID() override { return "S"; }
  ItemType DefaultItemType() override { return ItemType::Mail; }
  std::vector<ContactAddresses> ContactAddressList() override { return {}; }
};

TEST(MemoryOutlook, Move_CrossesStoresButNotOutlooks) {
  auto outlook = MemoryOutlook::Create();
  auto one = outlook->AddStore("One", "S1");
  auto two = outlook->AddStore("Two", "S2");
  auto item = one->AddMail("body", "subject", ItemClass::Mail, "M1");

  auto moved = item->Move(*two);
  EXPECT_EQ(two->ItemCount(), 1u);
  EXPECT_EQ(one->ItemCount(), 0u);
  EXPECT_EQ(outlook->Session()->GetItemFromID(moved->EntryID(), "S2"), moved);
  EXPECT_THROW(outlook->Session()->GetItemFromID(moved->EntryID(), "S1"), HostError);

  auto strangerStore = MemoryOutlook::Create()->AddStore("Stranger");
  ForeignFolder foreign;
  auto target = std::dynamic_pointer_cast<MemoryItem>(moved);
  ASSERT_NE(target, nullptr);
  EXPECT_THROW(target->Move(*strangerStore), HostError);
  EXPECT_THROW(target->Move(foreign), HostError);
  EXPECT_EQ(target->Body(), "body");
  EXPECT_EQ(two->ItemCount(), 1u);
  EXPECT_EQ(strangerStore->ItemCount(), 0u);
}

TEST(MemoryOutlook, Items_GetFirstGetNextWalkWithACursorPerCollection) {
  auto root = MemoryOutlook::Create()->AddStore("Mailbox");
  EXPECT_EQ(root->Items()->GetFirst(), nullptr);
  auto a = root->AddMail("a");
  auto b = root->AddMail("b");
  auto c = root->AddMail("c");

  auto walk = root->Items();
  auto other = root->Items();
  EXPECT_EQ(walk->GetFirst(), a);
  EXPECT_EQ(walk->GetNext(), b);
  EXPECT_EQ(other->GetFirst(), a);
  EXPECT_EQ(walk->GetNext(), c);
  EXPECT_EQ(walk->GetNext(), nullptr);
  EXPECT_EQ(walk->GetNext(), nullptr);
  EXPECT_EQ(other->GetNext(), b);
  EXPECT_EQ(walk->GetFirst(), a);
  EXPECT_THAT([&] { walk->Item(0); }, ThrowsMessage<HostError>(kOutOfBounds));
  EXPECT_THAT([&] { walk->Item(4); }, ThrowsMessage<HostError>(kOutOfBounds));
}

TEST(MemoryOutlook, Items_LiveViewFollowsMovesAndCopiesInOrder) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox");
  auto trash = root->AddFolder("Trash", ItemType::Mail);
  std::vector<std::shared_ptr<MemoryItem>> mails;
  for (int i = 0; i < 5; ++i) mails.push_back(root->AddMail("m" + std::to_string(i)));
  auto contact = root->AddContact({.fullName = "Ann"});
  auto items = root->Items();

  mails[1]->Move(*trash);
  mails[3]->Move(*trash);
  auto copy = contact->Copy();
  ASSERT_EQ(items->Count(), 5);
  EXPECT_EQ(items->Item(1), mails[0]);
  EXPECT_EQ(items->Item(2), mails[2]);
  EXPECT_EQ(items->Item(3), mails[4]);
  EXPECT_EQ(items->Item(4), contact);
  EXPECT_EQ(items->Item(5), copy);
  EXPECT_NE(copy->EntryID(), contact->EntryID());
  EXPECT_EQ(trash->Items()->Count(), 2);
}

// The folder's list keeps removed slots and a counting tree; compare it with a plain vector.
TEST(MemoryOutlook, Items_StayInOrderUnderRandomMovesAndAdditions) {
  auto root = MemoryOutlook::Create()->AddStore("Mailbox");
  auto trash = root->AddFolder("Trash", ItemType::Mail);
  std::vector<std::shared_ptr<MemoryItem>> model;
  for (int i = 0; i < 600; ++i) model.push_back(root->AddMail(std::to_string(i)));
  auto items = root->Items();
  std::mt19937 random(12345);

  for (int step = 0; step < 3000; ++step) {
    const auto choice = random() % 10;
    if (choice < 6 && !model.empty()) {
      const std::size_t index = random() % model.size();
      model[index]->Move(*trash);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(index));
    } else if (choice < 9) {
      model.push_back(root->AddMail("added"));
    } else if (!model.empty()) {
      const auto index = static_cast<int>(random() % model.size()) + 1;
      ASSERT_EQ(items->Item(index), model[static_cast<std::size_t>(index) - 1]) << "step " << step;
    }
    ASSERT_EQ(items->Count(), static_cast<int>(model.size()));
    if (step % 97 == 0) {
      for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(items->Item(static_cast<int>(i) + 1), model[i]);
    }
  }
  for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(items->Item(static_cast<int>(i) + 1), model[i]);
}

TEST(MemoryOutlook, Items_MovingAHundredThousandMessagesOneByOneStaysFast) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox", "S1");
  auto bounces = root->AddFolder("Bounces", ItemType::Mail);
  constexpr int kCount = 100000;
  for (int i = 0; i < kCount; ++i) bounces->AddMail("body");
  auto target = root->AddFolder("Processed", ItemType::Mail);
  auto items = bounces->Items();

  // Every other message by index: each move leaves a hole before the next index read.
  for (int index = 1; index <= items->Count(); ++index) items->Item(index)->Move(*target);
  EXPECT_EQ(items->Count(), kCount / 2);
  // The rest from the front, as a loop over Item(1) does.
  while (items->Count() > 0) items->Item(1)->Move(*target);
  EXPECT_EQ(target->Items()->Count(), kCount);
}

}  // namespace
}  // namespace qor::host::memory
