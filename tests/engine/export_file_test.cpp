#include "engine/export_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/text_file.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::ElementsAre;

class ExportFileTest : public tests::EngineFixture {
 protected:
  ExportFileTest() { options.tabFilePath = platform::PathToUtf8(exportPath); }

  std::string ExportedText() { return platform::ReadTextFile(exportPath); }

  std::filesystem::path exportPath = appFolder.Path() / "export.txt";
  RunOptions options;
};

TEST_F(ExportFileTest, ExportToTabFile_WithoutContactFieldsWritesTheIncludedAddresses) {
  platform::WriteTextFile(exportPath, "an older export\r\n");
  AddEntry("a@example.com");
  AddEntry("skipped@example.com", "M", "", "Y");
  AddEntry("b@example.com", "M", "", " n ");
  AddEntry("c@example.com");

  ExportToTabFile(context, options);

  EXPECT_EQ(ExportedText(), "E-mail Address\r\na@example.com\r\nb@example.com\r\nc@example.com\r\n");
  EXPECT_THAT(progress.labels, ElementsAre("Exporting..."));
  EXPECT_EQ(progress.minimum, 0);
  EXPECT_EQ(progress.maximum, 4);
  EXPECT_EQ(progress.position, 4);
}

TEST_F(ExportFileTest, ExportToTabFile_WithContactFieldsWritesOneLinePerContactFound) {
  const auto ann =
      contacts->AddContact({.fullName = "Ann Lee", .companyName = "Acme", .businessTelephoneNumber = "555-1"});
  const auto bob =
      contacts->AddContact({.fullName = "Bob Roe", .companyName = "Initech", .businessTelephoneNumber = "555-2"});
  const auto mail = bounces->AddMail("no contact");
  AddEntry("none@example.com", "M", " x:1 ");
  AddEntry("two@example.com", "M", LinkedIn("Mailbox\\Contacts", ann, bob));
  AddEntry("excluded@example.com", "M", LinkedIn("Mailbox\\Contacts", ann), "Y");
  AddEntry("nocontact@example.com", "M", LinkedIn("Mailbox\\Bounces", mail));
  options.exportContactFields = true;
  options.exportPhone = true;

  ExportToTabFile(context, options);
  EXPECT_EQ(ExportedText(),
            "E-mail Address\tSource Contact Folder\tPhone\r\n"
            "none@example.com\t\t\t\t\r\n"
            "two@example.com\tMailbox\\Contacts\t555-1\r\n"
            "two@example.com\tMailbox\\Contacts\t555-2\r\n");

  options.exportName = true;
  options.exportCompany = true;
  const auto movedAnn = ann->Move(*movedContacts);
  data.resize(2);
  data[1][kLinkedContacts] = LinkedIn("Mailbox\\Contacts", bob) + ";" + LinkedIn("Mailbox\\Moved Contacts", movedAnn);

  ExportToTabFile(context, options);
  EXPECT_EQ(ExportedText(),
            "E-mail Address\tSource Contact Folder\tFullName\tCompany\tPhone\r\n"
            "none@example.com\t\t\t\t\r\n"
            "two@example.com\tMailbox\\Contacts\tBob Roe\tInitech\t555-2\r\n"
            "two@example.com\tMailbox\\Moved Contacts\tAnn Lee\tAcme\t555-1\r\n");
}

TEST_F(ExportFileTest, EveryEntryExcludedLeavesOnlyTheHeaderInBothFiles) {
  AddEntry("a@example.com", "M", "", "Y");
  AddEntry("b@example.com", "M", "", "y");

  ExportToTabFile(context, options);
  ExportEmailAddressOnly(context);

  EXPECT_EQ(ExportedText(), "E-mail Address\r\n");
  EXPECT_EQ(platform::ReadTextFile(appFolder.Path() / "olqor.txt"), "E-mail Address\r\n");
}

TEST_F(ExportFileTest, ExportEmailAddressOnly_WritesTheIncludedAddressesToTheAddressFile) {
  const auto ann = contacts->AddContact({.fullName = "Ann Lee"});
  AddEntry("a@example.com", "M", LinkedIn("Mailbox\\Contacts", ann));
  AddEntry("skipped@example.com", "M", "", "Y");
  AddEntry("b@example.com");

  ExportEmailAddressOnly(context);

  const std::string withSeparator =
      context.usersAppFolderPath + static_cast<char>(std::filesystem::path::preferred_separator);
  EXPECT_EQ(AddressFilePath(context.usersAppFolderPath), appFolder.Path() / "olqor.txt");
  EXPECT_EQ(AddressFilePath(withSeparator), appFolder.Path() / "olqor.txt");
  EXPECT_EQ(platform::ReadTextFile(appFolder.Path() / "olqor.txt"),
            "E-mail Address\r\na@example.com\r\nb@example.com\r\n");
  EXPECT_THAT(progress.labels, ElementsAre("Capturing E-mail data..."));
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_EQ(progress.position, 3);
}

TEST_F(ExportFileTest, ExportToTabFile_ErrorWhileGatheringWritesTheLinesSoFarAndGoesOn) {
  const auto ann = contacts->AddContact({.fullName = "Ann Lee"});
  const auto broken = contacts->AddContact({.fullName = "Broken"});
  AddEntry("a@example.com");
  AddEntry("b@example.com", "M", LinkedIn("Mailbox\\Contacts", ann, broken));
  AddEntry("c@example.com");
  broken->FailWith("The operation failed.");
  options.exportContactFields = true;
  options.exportName = true;

  try {
    ExportToTabFile(context, options);
    FAIL() << "the contact's error was swallowed";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.what(), tests::HostFailure("ContactItem.FullName", "The operation failed."));
  }
  EXPECT_EQ(ExportedText(),
            "E-mail Address\tSource Contact Folder\tFullName\r\n"
            "a@example.com\t\t\t\t\r\n"
            "b@example.com\tMailbox\\Contacts\tAnn Lee\r\n");
}

TEST_F(ExportFileTest, ExportToTabFile_UnwritablePathThrowsAndLeavesNoFile) {
  AddEntry("a@example.com");
  options.tabFilePath = platform::PathToUtf8(appFolder.Path() / "missing" / "export.txt");

  EXPECT_THROW(ExportToTabFile(context, options), std::runtime_error);
  EXPECT_TRUE(appFolder.FileNames().empty());

  // When the gathering failed first, its error is the one reported.
  const auto broken = contacts->AddContact({.fullName = "Broken"});
  AddEntry("b@example.com", "M", LinkedIn("Mailbox\\Contacts", broken));
  broken->FailWith("The operation failed.");
  options.exportContactFields = true;
  options.exportName = true;
  EXPECT_THROW(ExportToTabFile(context, options), host::HostError);
  EXPECT_TRUE(appFolder.FileNames().empty());
}

}  // namespace
}  // namespace qor::engine
