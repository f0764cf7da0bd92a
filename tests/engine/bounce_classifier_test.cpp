#include "engine/bounce_classifier.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/extract_emails.h"
#include "engine/text.h"
#include "platform/atomic_file.h"

namespace qor::engine {
namespace {

// The verdicts on one body, by lower-cased address.
class Verdicts {
 public:
  explicit Verdicts(std::string body) : body_(std::move(body)) {
    const auto& found = extractor_.Extract(body_);
    const auto& verdicts = classifier_.Classify(body_, found, extractor_.Occurrences());
    for (std::size_t index = 0; index < found.size(); ++index) byAddress_[LowerAscii(found[index])] = verdicts[index];
  }

  const AddressVerdict& Of(std::string_view address) const {
    static const AddressVerdict kAbsent{AddressRole::Other, FailureKind::None, "absent", "", ""};
    const auto found = byAddress_.find(std::string(address));
    return found == byAddress_.end() ? kAbsent : found->second;
  }
  std::vector<std::string> Recipients() const {
    std::vector<std::string> recipients;
    for (const auto& [address, verdict] : byAddress_) {
      if (verdict.role == AddressRole::Recipient) recipients.push_back(address);
    }
    return recipients;
  }

 private:
  std::string body_;
  AddressExtractor extractor_;
  BounceClassifier classifier_;
  std::map<std::string, AddressVerdict> byAddress_;
};

// A body of tests/data/bounces (see its README.md): a real bounce rendered as Outlook shows it.
Verdicts Rendered(const char* name) {
  return Verdicts(platform::ReadFileBytes(std::filesystem::path(QOR_SOURCE_DIR) / "tests" / "data" / "bounces" / name));
}

struct Expected {
  const char* file;
  const char* recipient;
  FailureKind kind;
  const char* status;
  const char* reason;
};

TEST(BounceClassifier, NamesTheFailedRecipientOfEachMailSystemWithHowItFailed) {
  const Expected cases[] = {
      // Exchange: "did not reach the following recipient(s)", no code, its reason in words.
      {"exchange-user-unknown.txt", "recipient@example.net", FailureKind::Hard, "", "not recognized"},
      // Postfix, the delivery-status fields shown: the Status field; hidden: the text alone.
      {"postfix-host-unknown.txt", "bounce@dest.example.com", FailureKind::Hard, "5.0.0", "name or service not known"},
      {"postfix-host-unknown-no-dsn.txt", "bounce@dest.example.com", FailureKind::Hard, "", "name or service not known"},
      // qmail: "<address>:" then the remote server's words.
      {"qmail-user-unknown.txt", "userx@example.jp", FailureKind::Hard, "5.1.1", "no mailbox"},
      // Sendmail: the recipient in the list of fatal errors, in RCPT TO and in Final-Recipient.
      {"sendmail-transcript.txt", "recipient@example.net", FailureKind::Hard, "5.1.1", "rejected"},
      // Gmail: "failed permanently", the remote reply further down.
      {"gmail-user-unknown.txt", "userunknown@example.jp", FailureKind::Hard, "5.1.1", "user unknown"},
      // Sun Internet Mail Server: the original address, not the final one that has no domain;
      // a full mailbox is a passing condition though the server gave up.
      {"mailbox-full.txt", "userx@example.com", FailureKind::Soft, "", "quota"},
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(expected.file);
    const Verdicts verdicts = Rendered(expected.file);
    EXPECT_EQ(verdicts.Recipients(), std::vector<std::string>{expected.recipient});
    const AddressVerdict& verdict = verdicts.Of(expected.recipient);
    EXPECT_EQ(verdict.kind, expected.kind);
    EXPECT_EQ(verdict.status, expected.status);
    EXPECT_EQ(verdict.reason, expected.reason);
    EXPECT_FALSE(verdict.diagnostic.empty());
  }
}

TEST(BounceClassifier, TellsTheSenderTheReporterAndMessageIdsFromRecipients) {
  // The original's sender, in the quoted headers and in X-Postfix-Sender.
  EXPECT_EQ(Rendered("postfix-host-unknown.txt").Of("sender@domain-2.org").role, AddressRole::Sender);
  EXPECT_EQ(Rendered("sendmail-transcript.txt").Of("sender@example.com").role, AddressRole::Sender);
  // A no-reply address is a system's, whatever field it stands in.
  EXPECT_EQ(Rendered("exchange-user-unknown.txt").Of("noreply@example.com").role, AddressRole::Reporter);

  const Verdicts gmail = Rendered("gmail-user-unknown.txt");
  EXPECT_EQ(gmail.Of("d992c2c3-f175-4c4d-97e2-53a90e4e5bf5@gmail.com").role, AddressRole::MessageId);
  EXPECT_EQ(gmail.Of("the-local-part-of-google-mail-address@gmail.com").role, AddressRole::Sender);
  // The original's other addressee was not reported failed.
  EXPECT_EQ(gmail.Of("mailboxfull@example.jp").role, AddressRole::Other);

  const Verdicts full = Rendered("mailbox-full.txt");
  EXPECT_EQ(full.Of("f1218v8zdv60gxapzha000001ae@hotmail.com").role, AddressRole::MessageId);
  EXPECT_EQ(full.Of("heiho1@example.com").role, AddressRole::Sender);
  EXPECT_EQ(full.Of("userx@sims-ms-daemon").role, AddressRole::Other);
  for (const char* other : {"thaank@nl.example.org", "jpython-interest@python.org"}) {
    EXPECT_EQ(full.Of(other).kind, FailureKind::None) << other;
  }
}

TEST(BounceClassifier, FindsNoFailedRecipientInAnAutoReply) {
  const Verdicts reply = Rendered("auto-reply.txt");
  EXPECT_EQ(reply.Recipients(), std::vector<std::string>{});
  EXPECT_EQ(reply.Of("neko@example.org").kind, FailureKind::None);
}

TEST(BounceClassifier, ReadsEachRecipientsOwnLinesAndPassesOverDeliveredOnes) {
  // Two recipients, each with its own reason; the delivered one is no failure.
  const Verdicts two(
      "This is the mail system at host relay.example.net.\r\n\r\n"
      "I'm sorry to have to inform you that your message could not\r\nbe delivered to one or more recipients.\r\n\r\n"
      "<gone@example.com>: host mx.example.com said: 550 5.1.1 <gone@example.com>:\r\n"
      "    Recipient address rejected: User unknown (in reply to RCPT TO command)\r\n"
      "<full@example.org>: host mx.example.org said: 552 5.2.2 Mailbox full\r\n\r\n"
      "Final-Recipient: rfc822; fine@example.net\r\nAction: delivered\r\nStatus: 2.0.0\r\n\r\n"
      "From: Sender <me@example.com>\r\nTo: gone@example.com, full@example.org, fine@example.net\r\n");
  EXPECT_EQ(two.Recipients(), (std::vector<std::string>{"full@example.org", "gone@example.com"}));
  EXPECT_EQ(two.Of("gone@example.com").kind, FailureKind::Hard);
  EXPECT_EQ(two.Of("gone@example.com").status, "5.1.1");
  EXPECT_EQ(two.Of("full@example.org").kind, FailureKind::Soft);
  EXPECT_EQ(two.Of("full@example.org").reason, "mailbox full");
  EXPECT_EQ(two.Of("fine@example.net").role, AddressRole::Other);
  EXPECT_EQ(two.Of("me@example.com").role, AddressRole::Sender);

  // A delay warning: 4.x.x, soft.
  const Verdicts delayed(
      "This is a warning only. Your message has not yet been delivered.\n\n"
      "Final-Recipient: rfc822; slow@example.com\nAction: delayed\nStatus: 4.4.7\n");
  EXPECT_EQ(delayed.Of("slow@example.com").kind, FailureKind::Soft);
  EXPECT_EQ(delayed.Of("slow@example.com").status, "4.4.7");
}

TEST(BounceClassifier, CallsPassingConditionsSoftAndRefusalsHard) {
  struct Case {
    const char* diagnostic;  // what the remote server said of the one recipient
    FailureKind kind;
  };
  const Case cases[] = {
      {"550 5.1.1 <a@example.com>: Recipient address rejected: User unknown", FailureKind::Hard},
      {"452 4.2.2 <a@example.com>: Mailbox full", FailureKind::Soft},
      {"550 5.2.2 <a@example.com>: Recipient address rejected: Mailbox full", FailureKind::Soft},
      {"552 Requested mail action aborted: exceeded storage allocation", FailureKind::Soft},
      {"554 5.7.1 Service unavailable; Client host blocked using zen.spamhaus.org", FailureKind::Hard},
      {"554 Service currently unavailable", FailureKind::Soft},
      {"550 5.4.6 Routing loop detected", FailureKind::Soft},
      {"Delivery failed 20 attempts", FailureKind::Soft},
      {"550 5.1.1 user unknown (delivery attempts: 0)", FailureKind::Hard},
      {"This is a permanent error; I've given up.", FailureKind::Hard},
      {"Deferred: Connection timed out with example.com", FailureKind::Soft},
  };
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.diagnostic);
    const Verdicts verdicts(std::string("Your message could not be delivered to the following recipient:\r\n\r\n") +
                            "<a@example.com>: " + expected.diagnostic + "\r\n");
    EXPECT_EQ(verdicts.Of("a@example.com").kind, expected.kind);
  }
  // A warning that the MTA keeps trying: soft whatever the cause given.
  const Verdicts warning(
      "A message is delayed for more than 4 hours for the following list of recipients:\n\n"
      "neko@example.net: No MX found for domain\n\n"
      "Please note that this is only a temporary failure report.\n");
  EXPECT_EQ(warning.Of("neko@example.net").kind, FailureKind::Soft);
}

TEST(BounceClassifier, FindsRecipientsByHowMailSystemsWriteThem) {
  // An alias is failed with the address it led to: the user wrote the alias.
  const Verdicts alias(
      "A message that you sent could not be delivered to one or more of its recipients.\n"
      "The following address(es) failed:\n\n  final@example.net\n"
      "    (generated from alias@example.org)\n    550 5.1.1 No such user\n");
  EXPECT_EQ(alias.Recipients(), (std::vector<std::string>{"alias@example.org", "final@example.net"}));
  // RCPT TO of a session transcript, with the session's other addresses not taken for it.
  const Verdicts transcript(
      "   ----- Transcript of session follows -----\n>>> MAIL From:<me@example.com>\n<<< 250 2.1.0 Ok\n"
      ">>> RCPT To:<gone@example.org>\n<<< 550 5.1.1 <gone@example.org>... User unknown\n");
  EXPECT_EQ(transcript.Recipients(), std::vector<std::string>{"gone@example.org"});
  EXPECT_EQ(transcript.Of("me@example.com").role, AddressRole::Sender);
  // A mail service's JSON notification: its keys say who bounced and who sent.
  const Verdicts json(
      R"({"notificationType":"Bounce","bounce":{"bouncedRecipients":[{"emailAddress":"bounce@example.org",)"
      R"("action":"failed","status":"5.1.1"}]},"mail":{"source":"me@example.com"}})"
      "\nhttps://sns.example.com/unsubscribe?Arn=1&Endpoint=owner@example.com\n");
  EXPECT_EQ(json.Recipients(), std::vector<std::string>{"bounce@example.org"});
  EXPECT_EQ(json.Of("bounce@example.org").kind, FailureKind::Hard);
  EXPECT_EQ(json.Of("me@example.com").role, AddressRole::Sender);
  // A notice in words we cannot read that returns the message whole: whom it was sent to failed.
  const Verdicts unread(
      "\xe9\x80\x81\xe4\xbf\xa1\xe3\x81\xa7\xe3\x81\x8d\xe3\x81\xbe\xe3\x81\x9b\xe3\x82\x93\n\n"
      "----- Original message -----\n\nReturn-Path: <me@example.com>\n"
      "Received: from mx.example.com by mx.example.org\nFrom: Me <me@example.com>\nTo: group@example.org\n");
  EXPECT_EQ(unread.Recipients(), std::vector<std::string>{"group@example.org"});
  EXPECT_EQ(unread.Of("group@example.org").kind, FailureKind::Unknown);
  // A bounce forwarded from Outlook: the note, then the bounce under "-----Original Message-----".
  const Verdicts forwarded(
      "FYI, see below.\r\n\r\n-----Original Message-----\r\n"
      "From: Mail Delivery Subsystem <MAILER-DAEMON@relay.example.net>\r\nTo: me@example.com\r\n"
      "Subject: Undelivered Mail Returned to Sender\r\n\r\n"
      "<gone@example.org>: host mx.example.org said: 550 5.1.1 User unknown\r\n\r\n"
      "From: Me <me@example.com>\r\nTo: gone@example.org, friend@example.org\r\n");
  EXPECT_EQ(forwarded.Recipients(), std::vector<std::string>{"gone@example.org"});
  EXPECT_EQ(forwarded.Of("gone@example.org").status, "5.1.1");
  EXPECT_EQ(forwarded.Of("mailer-daemon@relay.example.net").role, AddressRole::Reporter);
  // An abuse report quotes a message too, but names no failed recipient.
  const Verdicts abuse(
      "This is an email abuse report for an email message received from IP 192.0.2.1.\n"
      "The message below did not meet the sending domain's dmarc policy.\n\n"
      "From: Someone <someone@example.org>\nTo: me@example.com\n");
  EXPECT_EQ(abuse.Recipients(), std::vector<std::string>{});
}

TEST(BounceClassifier, BearsBodiesOfAnyShapeInTimeThatGrowsWithThem) {
  const auto started = std::chrono::steady_clock::now();
  // Line breaks of a CR alone: each line still has its own recipient and reason.
  const Verdicts mac("Delivery has failed:\r\r<a@example.com>: 550 5.1.1 user unknown\r"
                     "<b@example.org>: 452 4.2.2 over quota\r");
  EXPECT_EQ(mac.Of("a@example.com").kind, FailureKind::Hard);
  EXPECT_EQ(mac.Of("b@example.org").kind, FailureKind::Soft);
  EXPECT_EQ(mac.Of("b@example.org").status, "4.2.2");

  // NUL bytes, invalid UTF-8 and a megabyte without a line break.
  std::string hostile = "Undeliverable: \xff\xfe\xc3 <x@example.com>: 550 5.1.1 user unknown ";
  hostile += std::string(1 << 20, 'z') + '\0' + "\x80\x80 y@example.org\r\n";
  EXPECT_EQ(Verdicts(hostile).Of("x@example.com").role, AddressRole::Recipient);

  // 20,000 addresses on one line, on lines of their own, and in delivery-status blocks.
  constexpr int kMany = 20000;
  std::string oneLine = "Your message could not be delivered to ";
  std::string ownLines = "Your message could not be delivered to:\n\n";
  std::string blocks = "Delivery failed.\n\n";
  for (int n = 0; n < kMany; ++n) {
    const std::string address = "user" + std::to_string(n) + "@example.com";
    oneLine += address + ", ";
    ownLines += "  " + address + "\n    550 5.1.1 user unknown\n";
    blocks += "Final-Recipient: rfc822; " + address + "\nAction: failed\nStatus: 5.2.2\n\n";
  }
  EXPECT_EQ(Verdicts(oneLine).Recipients().size(), static_cast<std::size_t>(kMany));
  EXPECT_EQ(Verdicts(ownLines).Of("user19999@example.com").status, "5.1.1");
  EXPECT_EQ(Verdicts(blocks).Of("user12345@example.com").kind, FailureKind::Soft);
  // Quadratic time would take hours here, even unsanitized.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
}

}  // namespace
}  // namespace qor::engine
