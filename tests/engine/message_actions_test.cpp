#include "engine/message_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/memory/host_messages.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::ElementsAre;

class MessageActionsTest : public tests::EngineFixture {
 protected:
  void Move() { MoveEmails(context, "Mailbox\\Bounces", "Mailbox\\Processed"); }

  static std::vector<std::string> Bodies(const host::memory::MemoryFolder& folder) {
    std::vector<std::string> bodies;
    for (const auto& item : folder.ItemsInOrder()) bodies.push_back(item->StoredBody());
    return bodies;
  }
};

TEST_F(MessageActionsTest, MoveEmails_MovesEachMessageNamedInTheTableOnceWhateverItsMark) {
  const auto three = bounces->AddMail("a b c", {}, host::ItemClass::Mail, "00ABCDEF0001");
  bounces->AddMail("second bounce for a", {}, host::ItemClass::Mail, "00ABCDEF0002");
  const auto excludedOnly = bounces->AddMail("d", {}, host::ItemClass::Report, "00ABCDEF0003");
  AddEntry("a@example.com", three->EntryID());
  AddEntry("b@example.com", three->EntryID());
  // Identifiers differing only in case name one message; fetching it again would fail.
  AddEntry("c@example.com", "00abcdef0001");
  AddEntry("d@example.com", excludedOnly->EntryID(), "", "Y");

  Move();

  EXPECT_THAT(Bodies(*processed), ElementsAre("a b c", "d"));
  EXPECT_THAT(Bodies(*bounces), ElementsAre("second bounce for a"));
  EXPECT_THAT(progress.labels, ElementsAre("Moving e-mail messages..."));
  EXPECT_EQ(progress.minimum, 0);
  EXPECT_EQ(progress.maximum, 4);
  EXPECT_EQ(progress.position, 4);
  EXPECT_THAT(progress.repaintedAt, ElementsAre(0, 1, 2, 3, 4));
}

TEST_F(MessageActionsTest, MoveEmails_StaleIdentifierEndsTheActionAndEarlierMovesStay) {
  const auto first = bounces->AddMail("first");
  const auto gone = bounces->AddMail("moved after the scan");
  const auto last = bounces->AddMail("last");
  AddEntry("a@example.com", first->EntryID());
  AddEntry("b@example.com", gone->EntryID());
  AddEntry("c@example.com", last->EntryID());
  gone->Move(*mailbox->AddFolder("Elsewhere", ItemType::Mail));

  try {
    Move();
    FAIL() << "the stale identifier was not reported";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.what(), tests::HostFailure("NameSpace.GetItemFromID", host::memory::messages::kCannotOpenItem));
  }
  EXPECT_THAT(Bodies(*processed), ElementsAre("first"));
  EXPECT_THAT(Bodies(*bounces), ElementsAre("last"));
}

TEST_F(MessageActionsTest, MoveEmails_RefusesAnEmptyDestinationBeforeMovingAnything) {
  AddEntry("a@example.com", bounces->AddMail("a")->EntryID());
  EXPECT_THROW(MoveEmails(context, "Mailbox\\Bounces", ""), host::HostError);
  EXPECT_THROW(MoveEmails(context, "", "Mailbox\\Processed"), host::HostError);
  EXPECT_THAT(Bodies(*bounces), ElementsAre("a"));
}

}  // namespace
}  // namespace qor::engine
