// The contact folders and options pages: their enable chains, checks and pickers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/wizard_fixture.h"

namespace qor::wizard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WizardOptionsTest : public tests::WizardFixture {
 protected:
  WizardOptionsTest() {
    bounces->AddMail("Delivery to ann@example.com failed");
    otherContacts = mailbox->AddFolder("Other Contacts", host::ItemType::Contact);
    Open();
    Click(form->btnNext);
    Click(form->btnNext);
  }

  // On the contact folders page: adds the folder through Outlook's picker.
  void AddContactFolder(const std::shared_ptr<host::memory::MemoryFolder>& folder) {
    outlook->QueuePickFolder(folder);
    Click(form->btnSelectContactFolder);
  }
  void GoToOptions() {
    Click(form->btnNext);
    ASSERT_EQ(form->pgTabs.PageIndex(), 3);
  }
  void ShowAdvanced() { ASSERT_TRUE(form->UserShowTab(form->pgActions, 1)); }

  std::shared_ptr<host::memory::MemoryFolder> otherContacts;
};

TEST_F(WizardOptionsTest, ContactOptionsFollowTheScanBoxWhenThePageIsLeft) {
  EXPECT_TRUE(form->btnSelectContactFolder.Enabled());  // usable before the box was ever ticked
  AddContactFolder(contacts);
  AddContactFolder(contacts);  // a duplicate is dropped without a word
  outlook->QueuePickFolder(nullptr);
  Click(form->btnSelectContactFolder);  // cancelled
  AddContactFolder(processed);
  EXPECT_THAT(form->lstContactFolders.lines.items, ElementsAre("Mailbox\\Contacts"));
  EXPECT_THAT(messages.Texts(), ElementsAre("Warning|Selected folder is not a Contact folder."));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);

  GoToOptions();
  EXPECT_FALSE(form->chkDeleteEmailAddress.Enabled());
  EXPECT_FALSE(form->chkAddNotes.Enabled());
  EXPECT_FALSE(form->chkMoveContact.Enabled());
  Click(form->btnBack);
  EXPECT_FALSE(form->btnSelectContactFolder.Enabled());
  Click(form->chkScanContactFolder);
  EXPECT_TRUE(form->btnSelectContactFolder.Enabled());
  GoToOptions();
  Click(form->chkDeleteEmailAddress);
  Click(form->chkAutoCascadeEmailAddress);
  Click(form->chkAddNotes);
  Click(form->chkNotesDateStamp);
  ShowAdvanced();
  Click(form->chkMoveContact);
  EXPECT_TRUE(form->BitBtn2.Enabled());
  EXPECT_EQ(form->txtDestinationContactFolder.colour, kWindowColour);

  // Unticking the scan box and moving on clears every contact option again.
  Click(form->btnBack);
  Click(form->chkScanContactFolder);
  EXPECT_FALSE(form->btnSelectContactFolder.Enabled());
  EXPECT_FALSE(form->btnremovecontactfolder.Enabled());
  for (const CheckBox* box : {&form->chkDeleteEmailAddress, &form->chkAutoCascadeEmailAddress, &form->chkAddNotes,
                              &form->chkNotesDateStamp, &form->chkMoveContact}) {
    EXPECT_FALSE(box->Checked()) << box->Name();
    EXPECT_FALSE(box->Enabled()) << box->Name();
  }
  EXPECT_FALSE(form->BitBtn2.Enabled());
  EXPECT_EQ(form->txtDestinationContactFolder.colour, kBtnFaceColour);
}

TEST_F(WizardOptionsTest, TheContactFoldersPageRefusesAScanWithoutFolders) {
  Click(form->chkScanContactFolder);
  Click(form->btnNext);
  EXPECT_EQ(form->pgTabs.PageIndex(), 2);
  EXPECT_THAT(messages.Texts(), ElementsAre("QOR for Outlook|Please add an Outlook Contact Folder to the list."));
  EXPECT_TRUE(form->btnNext.Enabled());

  AddContactFolder(contacts);
  AddContactFolder(otherContacts);
  ASSERT_TRUE(form->UserSelect(form->lstContactFolders, 0));
  Click(form->btnremovecontactfolder);
  Click(form->btnremovecontactfolder);  // nothing selected any more
  EXPECT_THAT(form->lstContactFolders.lines.items, ElementsAre("Mailbox\\Other Contacts"));
  GoToOptions();
}

TEST_F(WizardOptionsTest, ExportChainAndTheChecksInPageOrder) {
  GoToOptions();
  Click(form->chkExportToTab);
  EXPECT_TRUE(form->txtTabFilePath.Enabled());
  EXPECT_TRUE(form->btnSaveToCSV.Enabled());
  EXPECT_FALSE(form->chkExportContactFields.Enabled());  // no contact folder listed

  // Contact fields become available only by ticking export again after folders were added.
  Click(form->btnBack);
  Click(form->chkScanContactFolder);
  AddContactFolder(contacts);
  GoToOptions();
  EXPECT_FALSE(form->chkExportContactFields.Enabled());
  Click(form->chkExportToTab);
  Click(form->chkExportToTab);
  EXPECT_TRUE(form->chkExportContactFields.Enabled());
  Click(form->chkExportContactFields);
  ShowAdvanced();
  Click(form->chkMoveEmail);

  Click(form->btnNext);
  Click(form->btnNext);  // nothing changed: the same refusal again
  files.answers = {std::nullopt, "C:\\out\\export.txt"};
  ASSERT_TRUE(form->UserShowTab(form->pgActions, 0));
  Click(form->btnSaveToCSV);  // cancelled
  EXPECT_EQ(form->txtTabFilePath.text, "");
  Click(form->btnSaveToCSV);
  EXPECT_EQ(form->txtTabFilePath.text, "C:\\out\\export.txt");
  EXPECT_EQ(files.requests[0].title, "Save To Text File");
  EXPECT_EQ(files.requests[0].filter, "Text File|*.txt");
  EXPECT_EQ(files.requests[0].defaultExt, ".txt");
  Click(form->btnNext);
  Click(form->chkPhone);
  Click(form->btnNext);
  EXPECT_THAT(messages.Texts(), ElementsAre("QOR for Outlook|Please provide a file path for the export file.",
                                            "QOR for Outlook|Please provide a file path for the export file.",
                                            "QOR for Outlook|Please select a contact field to export.",
                                            "QOR for Outlook|Please provide the message destination folder."));
  EXPECT_EQ(form->pgTabs.PageIndex(), 3);

  // Unticking export empties the path and clears the field boxes.
  Click(form->chkExportToTab);
  EXPECT_EQ(form->txtTabFilePath.text, "");
  EXPECT_FALSE(form->chkExportContactFields.Checked());
  EXPECT_FALSE(form->chkPhone.Checked());
  EXPECT_FALSE(form->chkPhone.Enabled());
  EXPECT_FALSE(form->btnSaveToCSV.Enabled());
}

TEST_F(WizardOptionsTest, DependentBoxesAreUntickedWithTheirOwner) {
  AddContactFolder(contacts);
  Click(form->chkScanContactFolder);
  GoToOptions();
  EXPECT_FALSE(form->UserClick(form->chkAutoCascadeEmailAddress));
  Click(form->chkDeleteEmailAddress);
  Click(form->chkAutoCascadeEmailAddress);
  Click(form->chkDeleteEmailAddress);
  EXPECT_FALSE(form->chkAutoCascadeEmailAddress.Checked());
  EXPECT_FALSE(form->chkAutoCascadeEmailAddress.Enabled());
  Click(form->chkDeleteEmailAddress);
  EXPECT_FALSE(form->chkAutoCascadeEmailAddress.Checked());
  EXPECT_TRUE(form->chkAutoCascadeEmailAddress.Enabled());

  Click(form->chkAddNotes);
  Click(form->chkNotesDateStamp);
  Click(form->chkAddNotes);
  EXPECT_FALSE(form->chkNotesDateStamp.Checked());
  EXPECT_FALSE(form->chkNotesDateStamp.Enabled());
}

TEST_F(WizardOptionsTest, FolderPickersRefuseTheWrongKindAndFoldersInUse) {
  AddContactFolder(contacts);
  Click(form->chkScanContactFolder);
  GoToOptions();
  ShowAdvanced();
  EXPECT_FALSE(form->UserClick(form->BitBtn1));
  Click(form->chkMoveEmail);
  EXPECT_EQ(form->txtDestinationMailFolder.colour, kWindowColour);
  for (const auto& folder : {contacts, bounces, processed}) {
    outlook->QueuePickFolder(folder);
    Click(form->BitBtn1);
  }
  outlook->QueuePickFolder(bounces);
  Click(form->BitBtn1);  // refused: the box keeps the folder picked before
  EXPECT_EQ(form->txtDestinationMailFolder.text, "Mailbox\\Processed");
  Click(form->chkMoveEmail);
  EXPECT_EQ(form->txtDestinationMailFolder.text, "Mailbox\\Processed");
  EXPECT_EQ(form->txtDestinationMailFolder.colour, kBtnFaceColour);

  Click(form->chkMoveContact);
  for (const auto& folder : {processed, contacts, otherContacts}) {
    outlook->QueuePickFolder(folder);
    Click(form->BitBtn2);
  }
  EXPECT_EQ(form->txtDestinationContactFolder.text, "Mailbox\\Other Contacts");
  ASSERT_TRUE(form->UserSelect(form->cbxCopyorMove, 1));
  EXPECT_EQ(form->Options().copyOrMove, engine::ContactTransfer::Move);

  EXPECT_THAT(messages.Texts(),
              ElementsAre("Warning|Selected folder is not a Mail folder.",
                          "Error|Destination Mail folder cannot be equal to source mail folder.",
                          "Error|Destination Mail folder cannot be equal to source mail folder.",
                          "Warning|Selected folder is not a Contact folder.",
                          "Error|Destination Contact folder cannot be equal to any of the selected source contact "
                          "folder."));
  for (const auto& shown : messages.shown) EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
}

TEST_F(WizardOptionsTest, RunExternalApplicationRestoresTheStoredTexts) {
  GoToOptions();
  ShowAdvanced();
  EXPECT_FALSE(form->UserType(form->edtExternalExePath, "typed.exe"));
  fakes.settings.values = {{"ExePath", "C:\\Tools\\KORVANEX.EXE"}, {"ExeParam", "{QORFILE}"}};
  Click(form->chkExecuteApplication);
  EXPECT_EQ(form->edtExternalExePath.text, "C:\\Tools\\KORVANEX.EXE");
  EXPECT_EQ(form->edtparameters.text, "{QORFILE}");
  EXPECT_EQ(form->edtparameters.colour, kWindowColour);
  EXPECT_FALSE(form->BitBtn4.Enabled());
  ASSERT_TRUE(form->UserType(form->edtparameters, "-q"));
  files.answers = {"C:\\Other\\report.exe"};
  Click(form->BitBtn3);
  EXPECT_EQ(files.requests.back().defaultExt, "exe");
  EXPECT_EQ(files.requests.back().filter, "");

  Click(form->chkExecuteApplication);  // the texts stay, greyed
  EXPECT_EQ(form->edtExternalExePath.text, "C:\\Other\\report.exe");
  EXPECT_FALSE(form->edtExternalExePath.Enabled());
  EXPECT_EQ(form->edtExternalExePath.colour, kBtnFaceColour);
  Click(form->chkExecuteApplication);  // ticking again reads the stored texts over the typed ones
  EXPECT_EQ(form->edtExternalExePath.text, "C:\\Tools\\KORVANEX.EXE");

  ASSERT_TRUE(form->UserType(form->edtparameters, "--in {qorfile}"));
  Click(form->btnNext);
  ASSERT_EQ(fakes.shell.opened.size(), 1u);
  EXPECT_EQ(fakes.shell.opened[0].first, "C:\\Tools\\KORVANEX.EXE");
  EXPECT_EQ(fakes.settings.values["ExeParam"], "--in {qorfile}");
  EXPECT_THAT(messages.shown, IsEmpty());
}

}  // namespace
}  // namespace qor::wizard
