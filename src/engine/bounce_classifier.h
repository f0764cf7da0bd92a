#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bounce_text.h"
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
// body as Outlook shows it would go by: the delivery-status fields when they are shown, the
// MTA's paragraph and the addresses it lists, the diagnostic lines and the quoted original's
// headers. Time grows with the body and the addresses, not with their product. Keeps its
// buffers from one body to the next.
class BounceClassifier {
 public:
  // One verdict per address of `addresses`, in its order; `addresses` and `occurrences` are
  // what an AddressExtractor gave for `body`.
  const std::vector<AddressVerdict>& Classify(std::string_view body, const std::vector<std::string_view>& addresses,
                                              const std::vector<AddressOccurrence>& occurrences);

 private:
  // Where an address stands in text that is no header field, known before the report's end is.
  enum class TextShape : std::uint8_t { Plain, Leading, Bracketed, AliasLead, SenderLead };
  struct TextPlace {
    std::size_t occurrence;
    TextShape shape;
  };

  // Evidence from the line of each place of each address, and the delivery-status blocks.
  void ReadPlaces(std::string_view body, const std::vector<std::string_view>& addresses,
                  const std::vector<AddressOccurrence>& occurrences);
  // Reads the report and weighs the places in its text; whether the body is a bounce.
  bool WeighReport(std::string_view body, const std::vector<AddressOccurrence>& occurrences);
  // Each address's role from its evidence; whether any is a failed recipient.
  bool AssignRoles(const std::vector<std::string_view>& addresses, unsigned recipientField, bool isBounce);
  // Reads the report, the text before the quoted original, once per body and only when needed.
  void ReadReport(std::string_view body);
  // Each failed recipient's kind, status, reason and diagnostic line.
  void ReadKinds(std::string_view body, const std::vector<AddressOccurrence>& occurrences);

  std::vector<AddressVerdict> verdicts_;
  std::vector<unsigned> evidence_;
  std::vector<std::uint8_t> blocks_;     // by address: what its delivery-status block says
  std::vector<TextPlace> textPlaces_;
  std::vector<std::uint8_t> isPlace_;    // by occurrence: it may say how its address failed
  std::vector<std::uint8_t> tries_;      // by address: passages read for its kind
  std::vector<std::size_t> nextOther_;   // by occurrence: where the next other recipient stands
  FailureText report_;
  std::size_t originalStart_ = 0;
  bool reportRead_ = false;
};

}  // namespace qor::engine
