#include "engine/option_checks.h"

#include <gtest/gtest.h>

#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

TEST(CheckRunOptions, RefusesTheFirstIncompleteChoiceInPageOrder) {
  RunOptions options;
  EXPECT_EQ(CheckRunOptions(options), std::nullopt);

  options.exportToTab = true;
  options.exportContactFields = true;
  options.moveEmail = true;
  options.moveContact = true;
  options.tabFilePath = " a.tx ";
  EXPECT_EQ(CheckRunOptions(options), "Please provide a file path for the export file.");
  options.tabFilePath = "a.txt1";
  EXPECT_EQ(CheckRunOptions(options), "Please select a contact field to export.");
  options.exportCompany = true;
  options.destinationMailFolder = "Mail";
  EXPECT_EQ(CheckRunOptions(options), "Please provide the message destination folder.");
  options.destinationMailFolder = "Mail\\";
  options.destinationContactFolder = "   ";
  EXPECT_EQ(CheckRunOptions(options), "Please provide the contact destination folder.");
  options.destinationContactFolder = "A\\Bcd";
  EXPECT_EQ(CheckRunOptions(options), std::nullopt);

  options.scanContactFolders = true;
  EXPECT_EQ(CheckContactFolderList(options), "Please add an Outlook Contact Folder to the list.");
  options.contactFolders = {"Mailbox\\Contacts"};
  EXPECT_EQ(CheckContactFolderList(options), std::nullopt);
}

class FolderPickTest : public tests::EngineFixture {};

TEST_F(FolderPickTest, RefusesFoldersOfTheWrongKindOrAlreadyInUse) {
  EXPECT_EQ(CheckContactFolderPick(bounces), "Selected folder is not a Contact folder.");
  EXPECT_EQ(CheckContactFolderPick(contacts), std::nullopt);

  EXPECT_EQ(CheckMailDestinationPick(contacts, "Mailbox\\Bounces"), "Selected folder is not a Mail folder.");
  EXPECT_EQ(CheckMailDestinationPick(bounces, " mailbox\\BOUNCES "),
            "Destination Mail folder cannot be equal to source mail folder.");
  EXPECT_EQ(CheckMailDestinationPick(processed, "Mailbox\\Bounces"), std::nullopt);

  EXPECT_EQ(CheckContactDestinationPick(processed, {}), "Selected folder is not a Contact folder.");
  EXPECT_EQ(CheckContactDestinationPick(contacts, {"mailbox\\contacts"}),
            "Destination Contact folder cannot be equal to any of the selected source contact folder.");
  EXPECT_EQ(CheckContactDestinationPick(movedContacts, {"Mailbox\\Contacts"}), std::nullopt);
}

}  // namespace
}  // namespace qor::engine
