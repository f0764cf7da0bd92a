// The review page's reason for each address and the box that limits a run to the addresses that
// failed permanently.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/text_file.h"
#include "support/wizard_fixture.h"

namespace qor::wizard {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

// Bounces worded as Postfix and qmail word them, an over-quota one and an auto-reply.
constexpr const char* kPostfixAnn =
    "This is the mail system at host mx.mycompany.example.\r\n\r\n"
    "I'm sorry to have to inform you that your message could not\r\n"
    "be delivered to one or more recipients. It's attached below.\r\n\r\n"
    "<ann@example.com>: host mail.example.com[192.0.2.1] said: 550 5.1.1\r\n"
    "    <ann@example.com>... User unknown (in reply to RCPT TO command)\r\n\r\n"
    "From: Sam Sender <sam@mycompany.example>\r\n"
    "To: ann@example.com\r\n"
    "Subject: Newsletter\r\n"
    "Message-ID: <20240101120000.4F2A1C0012@mx.mycompany.example>\r\n";
constexpr const char* kQmailAnnAndBob =
    "Hi. This is the qmail-send program at mx.example.net.\r\n"
    "I'm afraid I wasn't able to deliver your message to the following addresses.\r\n"
    "This is a permanent error; I've given up. Sorry it didn't work out.\r\n\r\n"
    "<ann@example.com>:\r\n550 5.1.1 mailbox unavailable\r\n\r\n"
    "<bob@example.net>:\r\n552 5.2.2 mailbox full\r\n";
constexpr const char* kOverQuotaCarol =
    "Delivery to the following recipient has been delayed:\r\n\r\n"
    "<carol@example.org>: host mx.example.org said: 452 4.2.2 Mailbox full\r\n";
constexpr const char* kAutoReply =
    "Thank you for your message. I am out of the office until Monday.\r\n\r\n"
    "John Smith\r\njohn.smith@example.com\r\n";
constexpr const char* kPostfixDave =
    "This is the mail system at host mx.mycompany.example.\r\n\r\n"
    "<dave@example.com>: host mail.example.com said: 550 5.1.1 No such user\r\n";

class BounceReviewTest : public tests::WizardFixture {
 protected:
  BounceReviewTest() {
    for (const char* body : {kPostfixAnn, kQmailAnnAndBob, kOverQuotaCarol, kAutoReply, kPostfixDave}) {
      bounces->AddMail(body);
    }
    Open();
    Click(form->btnNext);
  }

  void Select(const std::string& address) {
    const auto& items = form->lstEmailAddressesFound.lines.items;
    const auto at = std::find(items.begin(), items.end(), address);
    ASSERT_NE(at, items.end()) << address;
    ASSERT_TRUE(form->UserSelect(form->lstEmailAddressesFound, static_cast<int>(at - items.begin())));
  }

  // From the review page: export to a file and move the messages, the box as given, and run.
  void Run(bool onlyFailed) {
    Click(form->btnNext);
    Click(form->btnNext);
    Click(form->chkExportToTab);
    files.answers = {platform::PathToUtf8(appFolder.Path() / "export.txt")};
    Click(form->btnSaveToCSV);
    if (onlyFailed) Click(form->chkOnlyFailed);
    ASSERT_TRUE(form->UserShowTab(form->pgActions, 1));
    Click(form->chkMoveEmail);
    outlook->QueuePickFolder(processed);
    Click(form->BitBtn1);
    Click(form->btnNext);
    ASSERT_EQ(form->lblProgress.caption, "Finished performing all tasks.");
  }

  // The first column of the export's lines after its heading.
  std::vector<std::string> ExportedAddresses() const {
    std::vector<std::string> addresses;
    std::istringstream lines(platform::ReadFileBytes(appFolder.Path() / "export.txt"));
    for (std::string line; std::getline(lines, line);) addresses.push_back(line.substr(0, line.find_first_of("\t\r")));
    addresses.erase(addresses.begin());
    return addresses;
  }

  std::vector<std::string> MovedBodies() const {
    std::vector<std::string> moved;
    for (const auto& item : processed->ItemsInOrder()) moved.push_back(item->Body());
    return moved;
  }
};

TEST_F(BounceReviewTest, SelectingAnAddressSaysInOneLineWhyItIsThere) {
  EXPECT_FALSE(form->chkOnlyFailed.Checked());
  EXPECT_EQ(form->lblFinding.caption, "");
  Select("ann@example.com");
  EXPECT_EQ(form->lblFinding.caption, "Failed permanently (5.1.1 user unknown), 2 messages");
  Select("bob@example.net");
  EXPECT_EQ(form->lblFinding.caption, "Failed temporarily (5.2.2 mailbox full), 1 message");
  Select("sam@mycompany.example");
  EXPECT_EQ(form->lblFinding.caption, "Sender of the original message, not a recipient");
  Select("20240101120000.4f2a1c0012@mx.mycompany.example");
  EXPECT_EQ(form->lblFinding.caption, "Message identifier, not a recipient");
  Select("john.smith@example.com");
  EXPECT_EQ(form->lblFinding.caption, "Mentioned in 1 message, not reported as failed");

  // Excluding the selected address leaves nothing selected and nothing to explain.
  Click(form->btnExclude);
  EXPECT_EQ(form->lblFinding.caption, "");
}

TEST_F(BounceReviewTest, TheBoxLimitsOneRunToPermanentFailuresAndMovesEveryMessageTheyAllFailedIn) {
  const engine::TEmailData scanned = data;
  Run(true);

  EXPECT_THAT(ExportedAddresses(), ElementsAre("ann@example.com", "dave@example.com"));
  // Bob's soft failure keeps the qmail bounce; the over-quota bounce and the auto-reply stay too.
  EXPECT_THAT(MovedBodies(), ElementsAre(kPostfixAnn, kPostfixDave));
  EXPECT_EQ(bounces->ItemCount(), 3u);
  // The others were left out of this run only: the table is as scanned and nothing was excluded.
  EXPECT_EQ(data, scanned);
  EXPECT_FALSE(std::filesystem::exists(AppFile("qorexclusions.dat")));
}

TEST_F(BounceReviewTest, WithTheBoxOffEveryAddressTakesPartAndTheFirstMessageOfEachMoves) {
  Run(false);

  EXPECT_EQ(ExportedAddresses().size(), data.size());
  EXPECT_THAT(MovedBodies(), UnorderedElementsAre(kPostfixAnn, kQmailAnnAndBob, kOverQuotaCarol, kAutoReply,
                                                  kPostfixDave));
}

}  // namespace
}  // namespace qor::wizard
