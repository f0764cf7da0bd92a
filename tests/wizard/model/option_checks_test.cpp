#include "wizard/model/option_checks.h"

#include <gtest/gtest.h>

#include "engine/folder_path.h"
#include "support/engine_fixture.h"

namespace qor::wizard {
namespace {

Refusal Plain(const char* text) { return {"QOR for Outlook", text, MessageIcon::None}; }
Refusal Warning(const char* text) { return {"Warning", text, MessageIcon::Exclamation}; }
Refusal Error(const char* text) { return {"Error", text, MessageIcon::Exclamation}; }

TEST(CheckRunOptions, RefusesTheFirstIncompleteChoiceInPageOrder) {
  engine::RunOptions options;
  EXPECT_EQ(CheckRunOptions(options), std::nullopt);

  options.exportToTab = true;
  options.exportContactFields = true;
  options.moveEmail = true;
  options.moveContact = true;
  options.tabFilePath = " a.tx ";
  EXPECT_EQ(CheckRunOptions(options), Plain("Please provide a file path for the export file."));
  options.tabFilePath = "a.txt1";
  EXPECT_EQ(CheckRunOptions(options), Plain("Please select a contact field to export."));
  options.exportCompany = true;
  options.destinationMailFolder = "Mail";
  EXPECT_EQ(CheckRunOptions(options), Plain("Please provide the message destination folder."));
  options.destinationMailFolder = "Mail\\";
  options.destinationContactFolder = "   ";
  EXPECT_EQ(CheckRunOptions(options), Plain("Please provide the contact destination folder."));
  options.destinationContactFolder = "A\\Bcd";
  EXPECT_EQ(CheckRunOptions(options), std::nullopt);

  options.scanContactFolders = true;
  EXPECT_EQ(CheckContactFolderList(options), Plain("Please add an Outlook Contact Folder to the list."));
  options.contactFolders = {"Mailbox\\Contacts"};
  EXPECT_EQ(CheckContactFolderList(options), std::nullopt);
}

class FolderPickTest : public tests::EngineFixture {
 protected:
  std::shared_ptr<host::Folder> Folder(const char* path) { return engine::GetMapiFolder(context.outlook, path); }
};

TEST_F(FolderPickTest, RefusesFoldersOfTheWrongKindOrAlreadyInUse) {
  EXPECT_EQ(CheckContactFolderPick(*Folder("Mailbox\\Bounces")), Warning("Selected folder is not a Contact folder."));
  EXPECT_EQ(CheckContactFolderPick(*Folder("Mailbox\\Contacts")), std::nullopt);

  EXPECT_EQ(CheckMailDestinationPick(Folder("Mailbox\\Contacts"), "Mailbox\\Bounces"),
            Warning("Selected folder is not a Mail folder."));
  EXPECT_EQ(CheckMailDestinationPick(Folder("Mailbox\\Bounces"), " mailbox\\BOUNCES "),
            Error("Destination Mail folder cannot be equal to source mail folder."));
  EXPECT_EQ(CheckMailDestinationPick(Folder("Mailbox\\Processed"), "Mailbox\\Bounces"), std::nullopt);

  EXPECT_EQ(CheckContactDestinationPick(Folder("Mailbox\\Processed"), {}),
            Warning("Selected folder is not a Contact folder."));
  EXPECT_EQ(CheckContactDestinationPick(Folder("Mailbox\\Contacts"), {"mailbox\\contacts"}),
            Error("Destination Contact folder cannot be equal to any of the selected source contact folder."));
  EXPECT_EQ(CheckContactDestinationPick(Folder("Mailbox\\Moved Contacts"), {"Mailbox\\Contacts"}), std::nullopt);
}

}  // namespace
}  // namespace qor::wizard
