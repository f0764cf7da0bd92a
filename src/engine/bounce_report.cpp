#include "engine/bounce_report.h"

namespace qor::engine {

namespace {

// Hard before Soft before Unknown.
int Severity(FailureKind kind) noexcept {
  switch (kind) {
    case FailureKind::Hard: return 3;
    case FailureKind::Soft: return 2;
    case FailureKind::Unknown: return 1;
    case FailureKind::None: break;
  }
  return 0;
}

// Of two roles for one address, the one that says most about it.
int Weight(AddressRole role) noexcept {
  switch (role) {
    case AddressRole::Recipient: return 4;
    case AddressRole::Sender: return 3;
    case AddressRole::Reporter: return 2;
    case AddressRole::MessageId: return 1;
    case AddressRole::Other: break;
  }
  return 0;
}

std::string Messages(int count) { return std::to_string(count) + (count == 1 ? " message" : " messages"); }

std::string FailureCaption(FailureKind kind) {
  switch (kind) {
    case FailureKind::Hard: return "Failed permanently";
    case FailureKind::Soft: return "Failed temporarily";
    default: return "Reported as failed";
  }
}

}  // namespace

void BounceReport::Clear() {
  findings_.clear();
  counts_.clear();
  messages_.clear();
  failedRows_.clear();
}

void BounceReport::Record(std::size_t row, const AddressVerdict& verdict) {
  if (row >= findings_.size()) {
    findings_.resize(row + 1);
    counts_.resize(row + 1);
  }
  AddressFinding& finding = findings_[row];
  Counts& counts = counts_[row];
  ++counts.holding;
  if (verdict.role == AddressRole::Recipient) ++counts.asRecipient;
  if (Weight(verdict.role) > Weight(finding.role)) finding.role = verdict.role;
  if (Severity(verdict.kind) > Severity(finding.kind)) {
    finding.kind = verdict.kind;
    finding.status = verdict.status;
    finding.reason = verdict.reason;
    finding.diagnostic = verdict.diagnostic;
  }
  finding.messages = finding.role == AddressRole::Recipient ? counts.asRecipient : counts.holding;
}

void BounceReport::AddFailedMessage(std::string entryId, std::span<const std::size_t> rows) {
  failedRows_.insert(failedRows_.end(), rows.begin(), rows.end());
  messages_.push_back({std::move(entryId), failedRows_.size() - rows.size(), rows.size()});
}

const AddressFinding& BounceReport::Finding(std::size_t row) const noexcept {
  static const AddressFinding kNone;
  return row < findings_.size() ? findings_[row] : kNone;
}

std::string DescribeFinding(const AddressFinding& finding) {
  switch (finding.role) {
    case AddressRole::Recipient: {
      std::string why = finding.status;
      if (!finding.reason.empty()) why += (why.empty() ? "" : " ") + finding.reason;
      if (why.empty()) why = finding.diagnostic;
      return FailureCaption(finding.kind) + (why.empty() ? "" : " (" + why + ")") + ", " + Messages(finding.messages);
    }
    case AddressRole::Sender: return "Sender of the original message, not a recipient";
    case AddressRole::Reporter: return "Reporting mail system, not a recipient";
    case AddressRole::MessageId: return "Message identifier, not a recipient";
    case AddressRole::Other: break;
  }
  return "Mentioned in " + Messages(finding.messages) + ", not reported as failed";
}

}  // namespace qor::engine
