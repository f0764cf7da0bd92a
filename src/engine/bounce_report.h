#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bounce_classifier.h"

namespace qor::engine {

// What the scanned messages say of one address of the table, over all of them.
struct AddressFinding {
  AddressRole role = AddressRole::Other;  // Recipient when any message reports it failed
  FailureKind kind = FailureKind::None;   // the worst failure reported: Hard, then Soft, then Unknown
  std::string status;                     // with the reason and diagnostic, of the first such report
  std::string reason;
  std::string diagnostic;
  int messages = 0;  // messages that report it as a failed recipient, or else that hold it

  bool FailedPermanently() const noexcept { return role == AddressRole::Recipient && kind == FailureKind::Hard; }
};

// A scanned message that reports failed recipients of the table.
struct FailedMessage {
  std::string entryId;
  std::size_t firstRow = 0;  // where its failed recipients' rows begin among the report's
  std::size_t rowCount = 0;
};

// What the scan learnt of the table's addresses, kept beside the table and row for row with it,
// so the table and its files stay as they are.
class BounceReport {
 public:
  void Clear();
  // One message's verdict on the address at `row`; the findings grow to hold it.
  void Record(std::size_t row, const AddressVerdict& verdict);
  // One message that reported the failed recipients at `rows`.
  void AddFailedMessage(std::string entryId, std::span<const std::size_t> rows);

  // The finding of a row; an empty one past the rows scanned.
  const AddressFinding& Finding(std::size_t row) const noexcept;
  const std::vector<FailedMessage>& FailedMessages() const noexcept { return messages_; }
  // The table rows of a failed message's failed recipients.
  std::span<const std::size_t> Rows(const FailedMessage& message) const noexcept {
    return std::span(failedRows_).subspan(message.firstRow, message.rowCount);
  }

 private:
  struct Counts {
    int asRecipient = 0;
    int holding = 0;
  };

  std::vector<AddressFinding> findings_;
  std::vector<Counts> counts_;
  std::vector<FailedMessage> messages_;
  std::vector<std::size_t> failedRows_;  // every failed message's rows, one after the other
};

// The one line that says why a row's address is in the table, e.g. "Failed permanently (5.1.1
// user unknown), 3 messages" or "Message identifier, not a recipient".
std::string DescribeFinding(const AddressFinding& finding);

}  // namespace qor::engine
