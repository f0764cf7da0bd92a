#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/extract_emails.h"

namespace qor::engine {

// Why an address is in a bounce.
enum class AddressRole {
  Recipient,  // the bounce reports it failed or delayed
  Sender,     // the original message's sender or a return path, usually the user
  Reporter,   // postmaster, mailer-daemon, the reporting system
  MessageId,  // a token of Message-ID, References and the like, or shaped like one
  Other,
};

// How a recipient failed; None for every other role.
enum class FailureKind { None, Hard, Soft, Unknown };

// "recipient", "sender", "reporter", "message-id", "other".
std::string_view RoleName(AddressRole role) noexcept;
// "hard", "soft", "unknown", or "-" for None.
std::string_view KindName(FailureKind kind) noexcept;

struct AddressVerdict {
  AddressRole role = AddressRole::Other;
  FailureKind kind = FailureKind::None;
  std::string status;      // "5.1.1" or "550", empty when the body gives none
  std::string reason;      // the MTA's phrase for the failure, e.g. "user unknown"; may be empty
  std::string diagnostic;  // the line the status or phrase came from, trimmed and shortened
};

// Tells what each address of one bounce's body is there for, from what a person reading the
// body as Outlook shows it would go by: the MTA's paragraph, the delivery-status fields when
// they are shown, the diagnostic lines and the quoted original's headers. Keeps its buffers
// from one body to the next.
class BounceClassifier {
 public:
  // One verdict per address of `addresses`, in its order; `addresses` and `occurrences` are
  // what an AddressExtractor gave for `body`.
  const std::vector<AddressVerdict>& Classify(std::string_view body, const std::vector<std::string_view>& addresses,
                                              const std::vector<AddressOccurrence>& occurrences);

 private:
  std::vector<AddressVerdict> verdicts_;
  std::vector<unsigned> evidence_;
  std::string lowered_;
};

}  // namespace qor::engine
