#include "engine/folder_path.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qor::engine
