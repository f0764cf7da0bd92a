#include "engine/folder_path.h"

#include <gtest/gtest.h>

#include "host/memory/memory_outlook.h"

namespace qor::engine {
namespace {

using host::ItemType;

class FolderPathTest : public ::testing::Test {
 protected:
  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create();
  std::shared_ptr<host::memory::MemoryFolder> mailbox = outlook->AddStore("Mailbox");
  std::shared_ptr<host::memory::MemoryFolder> inbox = mailbox->AddFolder("Inbox", ItemType::Mail);
  std::shared_ptr<host::memory::MemoryFolder> bounces = inbox->AddFolder("Bounces", ItemType::Mail);
};

TEST_F(FolderPathTest, FullFolderNameJoinsNamesFromTheStoreDown) {
  EXPECT_EQ(GetFullFolderName(mailbox), "Mailbox");
  EXPECT_EQ(GetFullFolderName(bounces), "Mailbox\\Inbox\\Bounces");
  EXPECT_EQ(GetFullFolderName(nullptr), "");
}

TEST_F(FolderPathTest, MapiFolderResolvesPathsIgnoringCase) {
  EXPECT_EQ(GetMapiFolder(*outlook, "Mailbox\\Inbox\\Bounces"), bounces);
  EXPECT_EQ(GetMapiFolder(*outlook, "mailbox\\INBOX\\bounces"), bounces);
  EXPECT_EQ(GetMapiFolder(*outlook, "Mailbox\\Inbox\\"), inbox);
  EXPECT_EQ(GetMapiFolder(*outlook, "Mailbox"), mailbox);
  EXPECT_EQ(GetMapiFolder(*outlook, ""), nullptr);
  EXPECT_EQ(GetMapiFolder(*outlook, GetFullFolderName(bounces)), bounces);
}

TEST_F(FolderPathTest, MapiFolderPassesTheHostsFailureOn) {
  EXPECT_THROW(GetMapiFolder(*outlook, "Mailbox\\Outbox"), host::HostError);
  EXPECT_THROW(GetMapiFolder(*outlook, "Mailbox\\\\Inbox"), host::HostError);
  EXPECT_THROW(GetMapiFolder(*outlook, "\\Mailbox"), host::HostError);
  // A display name holding "\" is split like any path and cannot be found again.
  const auto odd = mailbox->AddFolder("A\\B", ItemType::Mail);
  EXPECT_EQ(GetFullFolderName(odd), "Mailbox\\A\\B");
  EXPECT_THROW(GetMapiFolder(*outlook, GetFullFolderName(odd)), host::HostError);
}

}  // namespace
}  // namespace qor::engine
