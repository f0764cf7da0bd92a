#include "host/memory/memory_item.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/memory/memory_outlook.h"

namespace qor::host::memory {
namespace {

using ::testing::ThrowsMessage;

constexpr const char* kByAddress = "[Email1Address] = \"new@x.com\" or [Email2Address] = \"new@x.com\"";

int Matching(MemoryFolder& folder, const std::string& filter) { return folder.Items()->Restrict(filter)->Count(); }

TEST(MemoryItem, Contact_EditsShowAtOnceButOnlySaveOrCloseSaveCommitThem) {
  auto root = MemoryOutlook::Create()->AddStore("Mailbox");
  auto contacts = root->AddFolder("Contacts", ItemType::Contact);
  auto contact = contacts->AddContact({.fullName = "Ann", .email1Address = "old@x.com", .body = "notes"});

  contact->SetEmail1Address("new@x.com");
  EXPECT_EQ(contact->Email1Address(), "new@x.com");
  EXPECT_EQ(contact->StoredFields().email1Address, "old@x.com");
  EXPECT_EQ(Matching(*contacts, kByAddress), 0);
  contact->Save();
  EXPECT_EQ(Matching(*contacts, kByAddress), 1);

  contact->SetEmail1Address("");
  contact->SetEmail2Address("other@x.com");
  contact->SetBody("changed");
  EXPECT_EQ(contact->Body(), "changed");
  contact->Close(CloseMode::Discard);
  EXPECT_EQ(contact->Email1Address(), "new@x.com");
  EXPECT_EQ(contact->Email2Address(), "");
  EXPECT_EQ(contact->Body(), "notes");

  contact->SetEmail3Address("third@x.com");
  contact->Close(CloseMode::Save);
  EXPECT_EQ(contact->StoredFields().email3Address, "third@x.com");
  EXPECT_EQ(contact->Email3Address(), "third@x.com");
  EXPECT_THROW(contact->Close(static_cast<CloseMode>(2)), HostError);
}

TEST(MemoryItem, Contact_CopyAndMoveSaveFirstAndGiveNewIds) {
  auto outlook = MemoryOutlook::Create();
  auto root = outlook->AddStore("Mailbox");
  auto contacts = root->AddFolder("Contacts", ItemType::Contact);
  auto archive = root->AddFolder("Archive", ItemType::Contact);
  auto contact = contacts->AddContact(
      {.fullName = "Bob", .companyName = "B Ltd", .businessTelephoneNumber = "123", .email1Address = "bob@x.com"},
      "C1");
  contacts->AddContact({.fullName = "Other"});

  contact->SetEmail2Address("pending@x.com");
  auto copy = AsContact(contact->Copy());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->EntryID(), "C1");
  EXPECT_EQ(copy->Email2Address(), "pending@x.com");
  EXPECT_EQ(contact->StoredFields().email2Address, "pending@x.com");
  EXPECT_EQ(contacts->Items()->Item(3), copy);
  EXPECT_EQ(outlook->Session()->GetItemFromID(copy->EntryID(), root->StoreID()), copy);

  copy->SetEmail3Address("moved@x.com");
  auto moved = AsContact(copy->Move(*archive));
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->Email3Address(), "moved@x.com");
  EXPECT_EQ(moved->CompanyName(), "B Ltd");
  EXPECT_EQ(moved->BusinessTelephoneNumber(), "123");
  EXPECT_EQ(moved->FullName(), "Bob");
  EXPECT_EQ(moved->Class(), ItemClass::Contact);
  EXPECT_THROW(copy->Email1Address(), HostError);
  EXPECT_EQ(contacts->ItemCount(), 2u);
}

TEST(MemoryItem, FailWith_MakesEveryLaterCallOnThatObjectThrow) {
  auto root = MemoryOutlook::Create()->AddStore("Mailbox");
  auto target = root->AddFolder("Target", ItemType::Mail);
  auto mail = root->AddMail("body", "subject");
  auto contact = root->AddContact({.fullName = "Ann"});
  auto healthy = root->AddMail("fine");

  mail->FailWith("Out of memory or system resources.");
  contact->FailWith("Network problems are preventing connection.");
  EXPECT_THAT([&] { mail->Body(); }, ThrowsMessage<HostError>("Out of memory or system resources."));
  EXPECT_THROW(mail->EntryID(), HostError);
  EXPECT_THROW(mail->Class(), HostError);
  EXPECT_THROW(mail->Subject(), HostError);
  EXPECT_THROW(mail->SetBody("x"), HostError);
  EXPECT_THROW(mail->Move(*target), HostError);
  EXPECT_THAT([&] { contact->Email1Address(); },
              ThrowsMessage<HostError>("Network problems are preventing connection."));
  EXPECT_THROW(contact->Save(), HostError);
  EXPECT_THROW(contact->Copy(), HostError);
  EXPECT_EQ(healthy->Body(), "fine");
  EXPECT_EQ(root->ItemCount(), 3u);
  EXPECT_EQ(target->ItemCount(), 0u);
}

TEST(MemoryItem, Mail_SetBodyCommitsAtOnceAndSubjectIsKept) {
  auto root = MemoryOutlook::Create()->AddStore("Mailbox");
  auto mail = root->AddMail("old", "Undeliverable", ItemClass::Report);
  mail->SetBody("new");
  EXPECT_EQ(mail->Body(), "new");
  EXPECT_EQ(mail->StoredBody(), "new");
  EXPECT_EQ(mail->Subject(), "Undeliverable");
  EXPECT_EQ(mail->Class(), ItemClass::Report);
  EXPECT_EQ(AsContact(std::shared_ptr<Item>(mail)), nullptr);
}

}  // namespace
}  // namespace qor::host::memory
