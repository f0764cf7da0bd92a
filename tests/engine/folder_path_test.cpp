#include "engine/folder_path.h"

#include <gtest/gtest.h>

#include "engine/chosen_folders.h"
#include "engine/folder_scan.h"
#include "host/memory/memory_outlook.h"
#include "support/engine_host.h"

namespace qor::engine {
namespace {

using host::ItemType;

class FolderPathTest : public ::testing::Test {
 protected:
  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create();
  std::shared_ptr<host::memory::MemoryFolder> mailbox = outlook->AddStore("Mailbox");
  std::shared_ptr<host::memory::MemoryFolder> inbox = mailbox->AddFolder("Inbox", ItemType::Mail);
  std::shared_ptr<host::memory::MemoryFolder> bounces = inbox->AddFolder("Bounces", ItemType::Mail);
  tests::EngineHost engineHost{outlook};
  host::Application& application = engineHost.Get();
};

TEST_F(FolderPathTest, FullFolderNameJoinsNamesFromTheStoreDown) {
  EXPECT_EQ(GetFullFolderName(mailbox), "Mailbox");
  EXPECT_EQ(GetFullFolderName(bounces), "Mailbox\\Inbox\\Bounces");
  EXPECT_EQ(GetFullFolderName(nullptr), "");
}

TEST_F(FolderPathTest, MapiFolderResolvesPathsIgnoringCase) {
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "Mailbox\\Inbox\\Bounces"), bounces);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "mailbox\\INBOX\\bounces"), bounces);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "Mailbox\\Inbox\\"), inbox);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "Mailbox"), mailbox);
  EXPECT_EQ(GetMapiFolder(application, ""), nullptr);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, GetFullFolderName(bounces)), bounces);
  EXPECT_EQ(GetFullFolderName(GetMapiFolder(application, "mailbox\\INBOX\\bounces")), "Mailbox\\Inbox\\Bounces");
}

TEST_F(FolderPathTest, MapiFolderPassesTheHostsFailureOn) {
  EXPECT_THROW(GetMapiFolder(application, "Mailbox\\Outbox"), host::HostError);
  EXPECT_THROW(GetMapiFolder(application, "Mailbox\\\\Inbox"), host::HostError);
  EXPECT_THROW(GetMapiFolder(application, "\\Mailbox"), host::HostError);
  // A display name holding "\" is split like any path and cannot be found again.
  const auto odd = mailbox->AddFolder("A\\B", ItemType::Mail);
  EXPECT_EQ(GetFullFolderName(odd), "Mailbox\\A\\B");
  EXPECT_THROW(GetMapiFolder(application, GetFullFolderName(odd)), host::HostError);
}

// Folder names compare as Outlook compares them: ignoring case in every script.
TEST_F(FolderPathTest, MapiFolderIgnoresCaseBeyondAscii) {
  const auto refusals = mailbox->AddFolder("\u041e\u0442\u043a\u0430\u0437\u044b", ItemType::Mail);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "MAILBOX\\\u043e\u0442\u043a\u0430\u0437\u044b"),
               refusals);
  EXPECT_PRED2(tests::SameFolder, GetMapiFolder(application, "mailbox\\\u041e\u0422\u041a\u0410\u0417\u042b"),
               refusals);
}

// Two stores of one name, each with a folder of one name, and a folder name holding "\\": the
// chosen folder is the one a path resolves to while the folder still has that path.
TEST_F(FolderPathTest, ChosenFoldersResolveAPathToTheFolderChosenUnderIt) {
  const auto twin = outlook->AddStore("Mailbox");
  const auto twinBounces = twin->AddFolder("Inbox", ItemType::Mail)->AddFolder("Bounces", ItemType::Mail);
  const auto odd = twin->AddFolder("In\\Out", ItemType::Mail);
  const auto twinStore = application.GetNamespace("MAPI")->Folders()->Item(2);
  ChosenFolders chosen;
  EXPECT_EQ(chosen.Remember(twinStore->Folders()->Item("Inbox")->Folders()->Item("Bounces")),
            "Mailbox\\Inbox\\Bounces");
  EXPECT_EQ(chosen.Remember(twinStore->Folders()->Item("In\\Out")), "Mailbox\\In\\Out");

  EXPECT_PRED2(tests::SameFolder, chosen.Resolve(application, "Mailbox\\Inbox\\Bounces"), twinBounces);
  EXPECT_PRED2(tests::SameFolder, chosen.Resolve(application, " mailbox\\inbox\\bounces "), twinBounces);
  EXPECT_PRED2(tests::SameFolder, chosen.Resolve(application, "Mailbox\\In\\Out"), odd);
  // Paths it was not given resolve as typed paths do: the first store of the name.
  EXPECT_PRED2(tests::SameFolder, chosen.Resolve(application, "Mailbox\\Inbox"), inbox);
  EXPECT_EQ(chosen.Resolve(application, ""), nullptr);

  // The scan reads the chosen folder.
  twinBounces->AddMail("twin@example.com failed");
  bounces->AddMail("first@example.com failed");
  TEmailData data;
  NullProgress progress;
  GetEmailAddressesFromFolder(application, "Mailbox\\Inbox\\Bounces", data, progress, &chosen);
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0][kAddress], "twin@example.com");
}

}  // namespace
}  // namespace qor::engine
