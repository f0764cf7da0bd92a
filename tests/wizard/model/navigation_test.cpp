// The wizard's pages, buttons, scan and run, as a user meets them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "support/wizard_fixture.h"

namespace qor::wizard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WizardNavigationTest : public tests::WizardFixture {
 protected:
  WizardNavigationTest() {
    bounces->AddMail("Delivery to ann@example.com failed; copy to Bob@Example.net");
    bounces->AddMail("bob@example.net: mailbox unknown");
  }
  int Page() const { return form->pgTabs.PageIndex(); }
};

TEST_F(WizardNavigationTest, OpensOnTheExplorersFolderWithTheDesignedControls) {
  Open();
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(form->txtEmailFolder.text, "Mailbox\\Bounces");
  EXPECT_FALSE(form->txtEmailFolder.Enabled());
  EXPECT_FALSE(form->btnBack.Enabled());
  EXPECT_TRUE(form->btnNext.Enabled());
  EXPECT_EQ(form->PageControl1.PageIndex(), 0);
  EXPECT_EQ(form->pgActions.PageIndex(), 0);
  EXPECT_EQ(form->cbxCopyorMove.lines.itemIndex, 0);
  EXPECT_EQ(form->Label7.caption, "Click \"Next\" to continue.");
  EXPECT_TRUE(std::filesystem::is_directory(AppFile("")));
  EXPECT_EQ(form->FindControl("btnremovecontactfolder"), &form->btnremovecontactfolder);
  EXPECT_EQ(form->FindControl("page1"), nullptr);
}

TEST_F(WizardNavigationTest, NextScansThroughTheProgressPageAndBackScansAgain) {
  std::filesystem::create_directory(AppFile(""));
  platform::WriteTextFile(AppFile("qorexclusions.dat"), " BOB@example.NET\r\n");
  Open();
  Click(form->btnNext);
  EXPECT_EQ(Page(), 1);
  EXPECT_THAT(form->lstEmailAddressesFound.lines.items, ElementsAre("ann@example.com"));
  EXPECT_THAT(form->lstEmailAddressesExcluded.lines.items, ElementsAre(" BOB@example.NET"));
  EXPECT_TRUE(form->btnNext.Enabled());
  EXPECT_TRUE(form->btnBack.Enabled());
  EXPECT_THAT(display.labels, ElementsAre("Extracting bounce back e-mail addresses..."));
  EXPECT_EQ(display.repaintedAt.size(), 3u);  // the label, then the bar after each of the two messages
  EXPECT_EQ(form->prgBar.position, 0);

  platform::WriteTextFile(AppFile("qorexclusions.dat"), "");
  Click(form->btnBack);
  EXPECT_EQ(Page(), 0);
  EXPECT_FALSE(form->btnBack.Enabled());
  Click(form->btnNext);
  EXPECT_THAT(form->lstEmailAddressesFound.lines.items, ElementsAre("ann@example.com", "bob@example.net"));
  EXPECT_THAT(form->lstEmailAddressesExcluded.lines.items, IsEmpty());
}

// Two stores of one name (two "Personal Folders" files are common), each with "Processed" and
// "Contacts": the folders the pickers gave are the ones searched and changed.
TEST_F(WizardNavigationTest, ChangesTheFoldersChosenWhenAnotherStoreHasTheSamePaths) {
  const auto twin = outlook->AddStore("Mailbox");
  const auto twinProcessed = twin->AddFolder("Processed", host::ItemType::Mail);
  const auto twinContacts = twin->AddFolder("Contacts", host::ItemType::Contact);
  const auto chosenAnn = twinContacts->AddContact({.fullName = "Ann", .email1Address = "ann@example.com"});
  const auto otherAnn = contacts->AddContact({.fullName = "Ann", .email1Address = "ann@example.com"});

  Open();
  Click(form->btnNext);
  Click(form->btnNext);
  outlook->QueuePickFolder(twinContacts);
  Click(form->btnSelectContactFolder);
  EXPECT_THAT(form->lstContactFolders.lines.items, ElementsAre("Mailbox\\Contacts"));
  Click(form->chkScanContactFolder);
  Click(form->btnNext);
  Click(form->chkAddNotes);
  ASSERT_TRUE(form->UserShowTab(form->pgActions, 1));
  Click(form->chkMoveEmail);
  outlook->QueuePickFolder(twinProcessed);
  Click(form->BitBtn1);
  EXPECT_EQ(form->txtDestinationMailFolder.text, "Mailbox\\Processed");
  Click(form->btnNext);

  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_EQ(chosenAnn->StoredFields().body, "\r\n\r\n[Processed by QOR] ann@example.com");
  EXPECT_EQ(otherAnn->StoredFields().body, "");
  EXPECT_EQ(twinProcessed->ItemCount(), 1u);  // the message each address was first found in
  EXPECT_EQ(processed->ItemCount(), 0u);
}

class WizardEmptyFolderTest : public tests::WizardFixture {};

TEST_F(WizardEmptyFolderTest, AFolderWithoutAddressesLeavesNothingToReview) {
  bounces->AddMail("no address here");
  Open();
  Click(form->btnNext);
  EXPECT_EQ(form->pgTabs.PageIndex(), 1);
  EXPECT_FALSE(form->btnNext.Enabled());
  Click(form->btnBack);
  EXPECT_TRUE(form->btnNext.Enabled());
  Click(form->btnNext);
  EXPECT_EQ(form->pgTabs.PageIndex(), 1);
}

TEST_F(WizardNavigationTest, EveryAddressExcludedMakesTheContactFoldersPageADeadEnd) {
  Open();
  Click(form->btnNext);
  for (int left = 2; left > 0; --left) {
    ASSERT_TRUE(form->UserSelect(form->lstEmailAddressesFound, 0));
    Click(form->btnExclude);
  }
  EXPECT_EQ(platform::ReadTextFile(AppFile("qorexclusions.dat")), "ann@example.com\r\nbob@example.net\r\n");
  Click(form->btnNext);
  EXPECT_EQ(Page(), 2);
  EXPECT_FALSE(form->btnNext.Enabled());
  EXPECT_FALSE(form->UserClick(form->btnNext));
}

TEST_F(WizardNavigationTest, AFailingScanLeavesOnlyCloseWhichDoesNotAsk) {
  bounces->AddMail("lost@example.com")->FailWith("The operation failed.");
  Open();
  Click(form->btnNext);
  EXPECT_EQ(Page(), 4);
  EXPECT_FALSE(form->btnNext.Enabled());
  EXPECT_FALSE(form->btnBack.Enabled());
  EXPECT_THAT(form->lstEmailAddressesFound.lines.items, IsEmpty());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Error");
  EXPECT_EQ(messages.shown[0].text, tests::HostFailure("MailItem.Body", "The operation failed."));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);

  bool closed = false;
  form->onClose = [&] { closed = true; };
  Click(form->btnCancel);
  EXPECT_TRUE(closed);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(form->UserClick(form->btnCancel));
}

TEST_F(WizardNavigationTest, CloseAsksOnTheFirstThreePagesOnly) {
  Open();
  messages.answers = {MessageResult::No, MessageResult::No, MessageResult::No};
  for (int page = 0; page < 3; ++page) {
    Click(form->btnCancel);
    EXPECT_FALSE(form->Closed());
    EXPECT_EQ(Page(), page);
    Click(form->btnNext);
  }
  EXPECT_THAT(messages.Texts(), ElementsAre("Warning|Close QOR for Outlook?", "Warning|Close QOR for Outlook?",
                                            "Warning|Close QOR for Outlook?"));
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
  EXPECT_EQ(Page(), 3);
  Click(form->btnCancel);
  EXPECT_TRUE(form->Closed());
  EXPECT_EQ(messages.shown.size(), 3u);

  Open();
  messages.answers = {MessageResult::Yes};
  Click(form->btnCancel);
  EXPECT_TRUE(form->Closed());
}

// While a scan or run answers the window, only "Close" takes input; confirmed, the step stops
// before its next item, the page says where, and a second "Close" closes without asking.
TEST_F(WizardNavigationTest, CloseStopsAScanOrARunBetweenTwoItemsAndSaysWhere) {
  for (int n = 0; n < 8; ++n) bounces->AddMail("user" + std::to_string(n) + "@example.org");
  const auto ann = contacts->AddContact({.fullName = "Ann", .email1Address = "ann@example.com"});
  const auto bob = contacts->AddContact({.fullName = "Bob", .email1Address = "bob@example.net"});
  std::vector<bool> refused;
  // The user acts once the progress page shows `step` with `done` items done.
  const auto stopAt = [&](std::string step, int done) {
    display.onBetweenItems = [&, step, done] {
      if (form->lblProgress.caption != step || form->prgBar.position != done || !refused.empty()) return;
      refused = {form->UserClick(form->btnNext), form->UserClick(form->btnBack), form->UserShowTab(form->pgActions, 1),
                 form->UserType(form->txtTabFilePath, "x")};
      messages.answers = {MessageResult::No, MessageResult::Yes};
      EXPECT_TRUE(form->UserClick(form->btnCancel));  // not yet
      EXPECT_TRUE(form->UserClick(form->btnCancel));
      EXPECT_TRUE(form->Busy());
    };
  };

  Open();
  stopAt("Extracting bounce back e-mail addresses...", 2);
  Click(form->btnNext);
  EXPECT_THAT(refused, ElementsAre(false, false, false, false));
  EXPECT_FALSE(form->Busy());
  EXPECT_EQ(Page(), 4);
  EXPECT_EQ(form->lblProgress.caption, "Stopped at 2/10: Extracting bounce back e-mail addresses");
  EXPECT_FALSE(form->btnNext.Enabled());
  EXPECT_FALSE(form->btnBack.Enabled());
  Click(form->btnCancel);
  EXPECT_TRUE(form->Closed());
  EXPECT_EQ(messages.shown.size(), 2u);

  // The run: two contacts to note, stopped once the first is done.
  Open();
  display.onBetweenItems = nullptr;
  refused.clear();
  Click(form->btnNext);
  form->UserSelect(form->lstEmailAddressesFound, 2);  // user0@example.org: no contact carries it
  Click(form->btnExclude);
  Click(form->btnNext);
  outlook->QueuePickFolder(contacts);
  Click(form->btnSelectContactFolder);
  Click(form->chkScanContactFolder);
  Click(form->btnNext);
  Click(form->chkAddNotes);
  stopAt("Updating Notes...", 1);  // ann's note is written, bob's not yet
  Click(form->btnNext);
  EXPECT_EQ(form->lblProgress.caption, "Stopped at 1/10: Updating Notes");
  EXPECT_EQ(ann->StoredFields().body, "\r\n\r\n[Processed by QOR] ann@example.com");
  EXPECT_EQ(bob->StoredFields().body, "");
  EXPECT_EQ(platform::ReadTextFile(AppFile("qorexclusions.dat")), "user0@example.org\r\n");
  EXPECT_FALSE(form->Closed());
}

TEST_F(WizardNavigationTest, TheRunFinishesInRedWithOnlyCloseLeft) {
  Open();
  Click(form->btnNext);
  Click(form->btnNext);
  Click(form->btnNext);
  ASSERT_EQ(Page(), 3);
  ASSERT_TRUE(form->UserShowTab(form->pgActions, 1));
  Click(form->chkMoveEmail);
  outlook->QueuePickFolder(processed);
  Click(form->BitBtn1);
  display.labels.clear();
  Click(form->btnNext);

  EXPECT_EQ(Page(), 4);
  EXPECT_THAT(display.labels, ElementsAre("Moving e-mail messages...", "Finished performing all tasks."));
  EXPECT_EQ(form->lblProgress.caption, "Finished performing all tasks.");
  EXPECT_EQ(form->lblProgress.fontColour, kRedColour);
  EXPECT_EQ(form->prgBar.position, 0);
  EXPECT_FALSE(form->btnBack.Enabled());
  EXPECT_FALSE(form->btnNext.Enabled());
  EXPECT_TRUE(form->btnCancel.Enabled());
  EXPECT_EQ(processed->ItemCount(), 1u);                                // the message each address was first found in
  EXPECT_FALSE(std::filesystem::exists(AppFile("qorexclusions.dat")));  // nothing excluded, nothing written
  EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(WizardNavigationTest, AFailingRunKeepsBothButtonsAndNextRunsAgain) {
  Open();
  Click(form->btnNext);
  Click(form->btnNext);
  Click(form->btnNext);
  ASSERT_TRUE(form->UserShowTab(form->pgActions, 1));
  Click(form->chkMoveEmail);
  form->txtDestinationMailFolder.text = "Mailbox\\Gone";  // picked, then deleted in Outlook
  Click(form->btnNext);

  EXPECT_EQ(Page(), 4);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Error");
  EXPECT_NE(form->lblProgress.caption, "Finished performing all tasks.");
  EXPECT_TRUE(form->btnBack.Enabled());
  EXPECT_TRUE(form->btnNext.Enabled());

  mailbox->AddFolder("Gone", host::ItemType::Mail);
  Click(form->btnNext);
  EXPECT_EQ(form->lblProgress.caption, "Finished performing all tasks.");
  EXPECT_EQ(bounces->ItemCount(), 1u);
}

TEST_F(WizardNavigationTest, UserInputTheWindowWouldNotAllowChangesNothing) {
  Open();
  EXPECT_FALSE(form->UserClick(form->btnBack));             // disabled
  EXPECT_FALSE(form->UserClick(form->btnExclude));          // on a page not shown
  EXPECT_FALSE(form->UserType(form->txtEmailFolder, "x"));  // read-only
  EXPECT_FALSE(form->UserShowTab(form->pgTabs, 2));         // pages without tabs
  EXPECT_FALSE(form->UserClick(form->Label1));              // not clickable
  Click(form->btnNext);
  EXPECT_FALSE(form->UserShowTab(form->PageControl1, 2));
  EXPECT_TRUE(form->UserShowTab(form->PageControl1, 1));
  EXPECT_FALSE(form->UserClick(form->btnExclude));
  EXPECT_TRUE(form->UserClick(form->btnRemoveExclusion));
  EXPECT_TRUE(form->UserSelect(form->lstEmailAddressesExcluded, 7));
  EXPECT_EQ(form->lstEmailAddressesExcluded.lines.itemIndex, -1);
}

TEST_F(WizardNavigationTest, RepaintsOnlyWhenTheUserWouldSeeADifference) {
  for (int n = 0; n < 2000; ++n) bounces->AddMail("user" + std::to_string(n) + "@example.com");
  Open();
  Click(form->btnNext);
  // One repaint for the label, then one per designed pixel of the bar at most.
  EXPECT_LE(display.repaintedAt.size(), 1u + static_cast<std::size_t>(form->prgBar.BoundsRect().width));
  EXPECT_GE(display.repaintedAt.size(), 100u);
  EXPECT_EQ(display.repaintedAt.back(), 2002);
}

}  // namespace
}  // namespace qor::wizard
