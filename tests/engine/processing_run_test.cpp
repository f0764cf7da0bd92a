#include "engine/processing_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/folder_scan.h"
#include "platform/text_file.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class ProcessingRunTest : public tests::EngineFixture {
 protected:
  ProcessingRunTest() {
    ann =
        contacts->AddContact({.fullName = "Ann", .email1Address = "ann@example.com", .email2Address = "ann@home.org"});
    bounces->AddMail("Delivery to ann@example.com failed");
    bounces->AddMail("bob@example.net: mailbox unknown");
    options.emailFolder = "Mailbox\\Bounces";
    options.scanContactFolders = true;
    options.contactFolders = {"Mailbox\\Contacts"};
  }

  void Scan() { GetEmailAddressesFromFolder(context.outlook, options.emailFolder, data, progress); }

  std::string AppFile(const char* name) { return platform::ReadTextFile(appFolder.Path() / name); }

  std::shared_ptr<host::memory::MemoryContact> ann;
  RunOptions options;
  StringListModel excluded{{"someone@example.org"}, -1};
  ExclusionEdits edits;
};

TEST_F(ProcessingRunTest, WithNothingTickedOnlySavesTheExclusionsAndFinishesInRed) {
  Scan();
  // Nothing excluded in this wizard: nothing is written, so a folder that cannot be written to
  // (here one that is not there) does not fail the run.
  const std::string appFolderPath = context.usersAppFolderPath;
  context.usersAppFolderPath = platform::PathToUtf8(appFolder.Path() / "missing");
  RunProcessing(context, options, excluded, edits);
  EXPECT_EQ(progress.labels.back(), "Finished performing all tasks.");

  context.usersAppFolderPath = appFolderPath;
  edits.Add("someone@example.org");
  progress.labels.clear();
  RunProcessing(context, options, excluded, edits);

  EXPECT_EQ(AppFile("qorexclusions.dat"), "someone@example.org\r\n");
  EXPECT_THAT(progress.labels, ElementsAre("Finished performing all tasks."));
  EXPECT_EQ(progress.colour, 255u);
  EXPECT_EQ(progress.position, 0);
  EXPECT_EQ(data[0][kLinkedContacts], "");
}

TEST_F(ProcessingRunTest, RunsEveryTickedActionInItsFixedOrder) {
  Scan();
  progress.labels.clear();
  options.addNotes = true;
  options.exportToTab = true;
  options.exportContactFields = true;
  options.exportName = true;
  options.tabFilePath = platform::PathToUtf8(appFolder.Path() / "export.txt");
  options.deleteEmailAddress = true;
  options.moveContact = true;
  options.copyOrMove = ContactTransfer::Move;
  options.destinationContactFolder = "Mailbox\\Moved Contacts";
  options.moveEmail = true;
  options.destinationMailFolder = "Mailbox\\Processed";
  options.executeApplication = true;
  options.externalExePath = "C:\\Tools\\report.exe";
  options.parameters = "--in {qorfile}";
  RunProcessing(context, options, excluded, edits);

  EXPECT_THAT(progress.labels, ElementsAre("Matching e-mail addresses in \"Contacts\"...", "Updating Notes...",
                                           "Exporting...", "Updating Notes...", "Moving e-mail messages...",
                                           "Capturing E-mail data...", "Finished performing all tasks."));
  // The note names the address before it is removed; the contact then moves with both changes.
  ASSERT_EQ(movedContacts->ItemCount(), 1u);
  const auto moved = std::dynamic_pointer_cast<host::memory::MemoryContact>(movedContacts->ItemAt(1));
  EXPECT_EQ(moved->StoredFields().body, "\r\n\r\n[Processed by QOR] ann@example.com");
  EXPECT_EQ(moved->StoredFields().email1Address, "");
  EXPECT_EQ(moved->StoredFields().email2Address, "ann@home.org");
  EXPECT_EQ(contacts->ItemCount(), 0u);
  // The export was built while the contact still carried the address.
  EXPECT_EQ(AppFile("export.txt"),
            "E-mail Address\tSource Contact Folder\tFullName\r\nann@example.com\tMailbox\\Contacts\tAnn\r\n"
            "bob@example.net\t\t\t\t\r\n");
  EXPECT_EQ(processed->ItemCount(), 2u);
  EXPECT_EQ(AppFile("olqor.txt"), "E-mail Address\r\nann@example.com\r\nbob@example.net\r\n");
  const std::string addressFile = platform::PathToUtf8(appFolder.Path() / "olqor.txt");
  EXPECT_THAT(fakes.shell.opened,
              ElementsAre(std::make_pair(std::string("C:\\Tools\\report.exe"), "--in " + addressFile)));
  EXPECT_EQ(fakes.settings.values["ExePath"], "C:\\Tools\\report.exe");
  EXPECT_EQ(fakes.settings.values["ExeParam"], "--in {qorfile}");
}

TEST_F(ProcessingRunTest, AProgramThatCannotStartIsReportedAndTheRunEndsAsUsual) {
  Scan();
  options.executeApplication = true;
  options.externalExePath = "C:\\Tools\\gone.exe";
  fakes.shell.failure = "The system cannot find the file specified.";
  RunProcessing(context, options, excluded, edits);
  EXPECT_THAT(fakes.messages.errors, ElementsAre(HasSubstr("The system cannot find the file specified.")));
  EXPECT_EQ(progress.labels.back(), "Finished performing all tasks.");
  EXPECT_EQ(fakes.settings.values["ExePath"], "C:\\Tools\\gone.exe");
}

// Addresses with a plus sign, an apostrophe or letters beyond ASCII bounce whole: their contacts
// lose them, and the contacts that carry only a part of such an address keep theirs.
TEST_F(ProcessingRunTest, DeletesTheWholeAddressThatBouncedAndNeverAPartOfIt) {
  bounces->AddMail("550 <o'brien@example.com>: unknown; also bob+news@example.com, Jos\u00e9@example.com.");
  const auto bounced = contacts->AddContact({.fullName = "Bob", .email1Address = "bob+news@example.com",
                                             .email2Address = "o'brien@example.com",
                                             .email3Address = "Jos\u00e9@example.com"});
  const auto unrelated = contacts->AddContact(
      {.fullName = "Others", .email1Address = "news@example.com", .email2Address = "brien@example.com"});
  Scan();
  options.deleteEmailAddress = true;
  ProcessEmails(context, options);
  EXPECT_EQ(bounced->StoredFields().email1Address, "");
  EXPECT_EQ(bounced->StoredFields().email2Address, "");
  EXPECT_EQ(bounced->StoredFields().email3Address, "");
  EXPECT_EQ(unrelated->StoredFields().email1Address, "news@example.com");
  EXPECT_EQ(unrelated->StoredFields().email2Address, "brien@example.com");
}

TEST_F(ProcessingRunTest, MatchesContactsOnlyForActionsThatNeedThem) {
  Scan();
  options.exportToTab = true;
  options.tabFilePath = platform::PathToUtf8(appFolder.Path() / "export.txt");
  progress.labels.clear();
  ProcessEmails(context, options);
  EXPECT_THAT(progress.labels, ElementsAre("Exporting..."));
  EXPECT_EQ(data[0][kLinkedContacts], "");

  options.exportContactFields = true;
  options.exportPhone = true;
  progress.labels.clear();
  ProcessEmails(context, options);
  EXPECT_THAT(progress.labels, ElementsAre("Matching e-mail addresses in \"Contacts\"...", "Exporting..."));
}

TEST_F(ProcessingRunTest, WithAnEmptyTableStopsAfterMatching) {
  options.addNotes = true;
  options.executeApplication = true;
  options.externalExePath = "korvanex.exe";
  ProcessEmails(context, options);
  EXPECT_THAT(progress.labels, IsEmpty());
  EXPECT_THAT(fakes.shell.opened, IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(appFolder.Path() / "olqor.txt"));
}

TEST_F(ProcessingRunTest, AnActionsErrorEndsTheRunBeforeLaterActions) {
  Scan();
  options.moveEmail = true;
  options.destinationMailFolder = "Mailbox\\Processed";
  options.executeApplication = true;
  options.externalExePath = "C:\\Tools\\report.exe";
  data[1][kMessageEntryId] = "NO-SUCH-ID";

  progress.labels.clear();
  EXPECT_THROW(RunProcessing(context, options, excluded, edits), host::HostError);
  EXPECT_THAT(progress.labels, ElementsAre("Moving e-mail messages..."));
  EXPECT_EQ(processed->ItemCount(), 1u);
  EXPECT_THAT(fakes.shell.opened, IsEmpty());
  EXPECT_TRUE(fakes.settings.values.empty());
}

}  // namespace
}  // namespace qor::engine
