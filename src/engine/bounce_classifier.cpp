#include "engine/bounce_classifier.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "engine/bounce_text.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

// What the places of one address in a body show, as bits.
enum Evidence : unsigned {
  kRecipientField = 1u << 0,  // Final-Recipient, X-Failed-Recipients and kin
  kIdField = 1u << 1,         // Message-ID, References, a MIME boundary and kin
  kSenderField = 1u << 2,     // From, Return-Path and kin
  kAddresseeField = 1u << 3,  // To, Cc and kin of the quoted original
  kReportText = 1u << 4,      // the MTA's own text, before the quoted original
  kSenderText = 1u << 5,      // the report addresses it: "Dear ...", "sent by ..."
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept { return CaseBlindEqual()(a, b); }

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) noexcept {
  return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return EqualsIgnoringCase(name, n); });
}

constexpr std::array<std::string_view, 7> kRecipientFields = {
    "final-recipient", "original-recipient", "x-failed-recipients", "x-failed-recipient",
    "failed-recipient", "x-actual-recipient", "x-original-rcpt"};
constexpr std::array<std::string_view, 9> kIdFields = {
    "message-id", "references", "in-reply-to", "content-id", "x-message-id", "resent-message-id",
    "original-envelope-id", "x-original-message-id", "thread-index"};
constexpr std::array<std::string_view, 13> kSenderFields = {
    "from", "return-path", "sender", "reply-to", "x-postfix-sender", "errors-to", "x-sender",
    "envelope-from", "x-envelope-from", "resent-from", "x-original-sender", "x-original-from",
    "disposition-notification-to"};
constexpr std::array<std::string_view, 10> kAddresseeFields = {
    "to", "cc", "bcc", "x-original-to", "delivered-to", "envelope-to", "x-envelope-to",
    "apparently-to", "resent-to", "x-rcpt-to"};
// Fields whose first appearance starts the quoted original.
constexpr std::array<std::string_view, 5> kOriginalFields = {"from", "return-path", "received", "message-id",
                                                             "mime-version"};
// Lines that announce the quoted original, lower-cased.
constexpr std::array<std::string_view, 11> kOriginalMarkers = {
    "original message", "returned message", "copy of the message", "copy of your message",
    "original mail", "unsent message", "undelivered message", "below this line",
    "headers of the original", "original headers", "message headers follow"};
// Local parts of the systems that report.
constexpr std::array<std::string_view, 15> kReporterNames = {
    "mailer-daemon", "mailerdaemon", "mail-daemon", "postmaster", "daemon", "mdaemon", "bounce",
    "bounces", "noreply", "no-reply", "donotreply", "do-not-reply", "hostmaster", "majordomo", "listserv"};
// Words just before an address that make it the one the report is written to.
constexpr std::array<std::string_view, 6> kSenderLeads = {"sent by", "sender", "dear", "sorry", "hello", "hi"};

bool IsBlank(std::string_view line) noexcept {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

// Lines of a body, found around an offset.
class Lines {
 public:
  explicit Lines(std::string_view body) : body_(body) {}

  std::size_t BeginOf(std::size_t at) const noexcept {
    const std::size_t newline = at == 0 ? std::string_view::npos : body_.rfind('\n', at - 1);
    return newline == std::string_view::npos ? 0 : newline + 1;
  }
  std::size_t EndOf(std::size_t at) const noexcept {
    const std::size_t newline = body_.find('\n', at);
    return newline == std::string_view::npos ? body_.size() : newline;
  }
  std::string_view LineAt(std::size_t begin) const noexcept { return body_.substr(begin, EndOf(begin) - begin); }
  bool HasPrevious(std::size_t begin) const noexcept { return begin > 0; }
  std::size_t PreviousBegin(std::size_t begin) const noexcept { return BeginOf(begin - 1); }
  bool HasNext(std::size_t begin) const noexcept { return EndOf(begin) < body_.size(); }
  std::size_t NextBegin(std::size_t begin) const noexcept { return EndOf(begin) + 1; }

  // The name of the header field a line is, or is a folded part of; empty when none. Quoting
  // marks of a forwarded bounce ("> From: ...") do not count.
  std::string_view FieldName(std::size_t begin) const noexcept {
    constexpr int kLongestFolding = 30;
    for (int step = 0; step < kLongestFolding; ++step) {
      const std::string_view line = Unquoted(LineAt(begin));
      if (line.empty() || IsBlank(line)) return {};
      if (!IsFolded(line)) return NameOf(line);
      if (!HasPrevious(begin)) return {};
      begin = PreviousBegin(begin);
    }
    return {};
  }

  // The lines from `begin` until a blank line, up and down, bounded so a body without blank
  // lines costs no more than a few lines per address.
  std::pair<std::size_t, std::size_t> ParagraphAround(std::size_t begin) const noexcept {
    constexpr int kLongestParagraph = 40;
    std::size_t first = begin;
    for (int step = 0; step < kLongestParagraph && HasPrevious(first); ++step) {
      const std::size_t previous = PreviousBegin(first);
      if (IsBlank(LineAt(previous))) break;
      first = previous;
    }
    std::size_t last = begin;
    for (int step = 0; step < kLongestParagraph && HasNext(last); ++step) {
      const std::size_t next = NextBegin(last);
      if (IsBlank(LineAt(next))) break;
      last = next;
    }
    return {first, EndOf(last)};
  }

  // The paragraph after the blank lines that end the one ending at `end`; empty at the end.
  std::pair<std::size_t, std::size_t> NextParagraph(std::size_t end) const noexcept {
    std::size_t begin = end;
    while (begin < body_.size()) {
      begin = body_[begin] == '\n' ? begin + 1 : NextBegin(begin);
      if (begin >= body_.size()) break;
      if (!IsBlank(LineAt(begin))) return ParagraphAround(begin);
    }
    return {body_.size(), body_.size()};
  }

 private:
  static std::string_view Unquoted(std::string_view line) noexcept {
    if (line.empty() || line.front() != '>') return line;
    while (!line.empty() && line.front() == '>') line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return line;
  }
  static bool IsFolded(std::string_view line) noexcept { return line.front() == ' ' || line.front() == '\t'; }
  static std::string_view NameOf(std::string_view line) noexcept {
    std::size_t end = 0;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '-')) ++end;
    if (end == 0 || end >= line.size() || line[end] != ':') return {};
    return line.substr(0, end);
  }

  std::string_view body_;
};

std::string_view LocalPart(std::string_view address) noexcept { return address.substr(0, address.find('@')); }

bool IsReporterShaped(std::string_view address) noexcept { return IsOneOf(LocalPart(address), kReporterNames); }

// Message identifiers: "20100224113210.2beae16581ef@host", "4C5FBF93.5030706@host",
// "079c63a6-0000-...@host": many digits in a long local part, or a dollar sign.
// A local part of digits alone is a telephone number at an SMS gateway, not an identifier.
bool IsIdShaped(std::string_view address) noexcept {
  const std::string_view local = LocalPart(address);
  if (local.find('$') != std::string_view::npos) return true;
  const auto digits = static_cast<std::size_t>(std::count_if(local.begin(), local.end(), [](char c) {
    return c >= '0' && c <= '9';
  }));
  constexpr std::size_t kLongestPhoneNumber = 15;
  if (digits == local.size() && digits <= kLongestPhoneNumber) return false;
  return digits >= 6 && 3 * digits >= local.size();
}

// A line that announces the quoted original rather than mentions it: set off by rules or
// brackets, starting with the words or ending in a colon ("Original message headers:").
bool IsMarkerLine(std::string_view line, std::string_view marker) {
  const std::string text = Trim(line);
  return !text.empty() && (!std::isalpha(static_cast<unsigned char>(text.front())) || text.starts_with(marker) ||
                           text.back() == ':');
}

// The start of the quoted original: a line announcing it, or the first of its header fields
// after the first sign of a failure (before it, they are a forwarded bounce's own).
std::size_t OriginalStart(const Lines& lines, std::string_view body, std::string_view lowered, std::size_t failureAt) {
  std::size_t start = body.size();
  for (const std::string_view marker : kOriginalMarkers) {
    for (std::size_t at = lowered.find(marker); at < start; at = lowered.find(marker, at + 1)) {
      if (IsMarkerLine(lowered.substr(lines.BeginOf(at), lines.EndOf(at) - lines.BeginOf(at)), marker)) {
        start = lines.BeginOf(at);
        break;
      }
    }
  }
  if (failureAt >= start) return start;
  for (std::size_t begin = lines.BeginOf(failureAt); begin < start; begin = lines.NextBegin(begin)) {
    const std::string_view line = lines.LineAt(begin);
    if (!line.empty() && line.front() != ' ' && line.front() != '\t' && IsOneOf(lines.FieldName(begin), kOriginalFields)) {
      return begin;
    }
    if (!lines.HasNext(begin)) break;
  }
  return start;
}

bool FollowsSenderLead(std::string_view lowered, std::size_t lineBegin, std::size_t at) {
  std::string_view before = lowered.substr(lineBegin, at - lineBegin);
  while (!before.empty() && (before.back() == ' ' || before.back() == '<' || before.back() == ':' ||
                             before.back() == '\t' || before.back() == '"')) {
    before.remove_suffix(1);
  }
  return std::any_of(kSenderLeads.begin(), kSenderLeads.end(), [&](std::string_view lead) {
    return before.size() >= lead.size() && before.substr(before.size() - lead.size()) == lead &&
           (before.size() == lead.size() || !std::isalpha(static_cast<unsigned char>(before[before.size() - lead.size() - 1])));
  });
}

bool InBoundary(std::string_view lowered, std::size_t lineBegin, std::size_t at) {
  return lowered.substr(lineBegin, at - lineBegin).find("boundary=") != std::string_view::npos;
}

// "RCPT TO:<...>" in a transcript, even on a line that reads like a header field.
bool FollowsRcpt(std::string_view lowered, std::size_t lineBegin, std::size_t at) {
  return lowered.substr(lineBegin, at - lineBegin).find("rcpt") != std::string_view::npos;
}

std::string Shortened(std::string_view line) {
  constexpr std::size_t kLongest = 120;
  std::string text = Trim(line);
  if (text.size() <= kLongest) return text;
  std::size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
  text.resize(cut);
  return text;
}

// How a recipient failed, from the first of the passages that says so.
struct Failure {
  FailureKind kind = FailureKind::Unknown;
  bool delivered = false;  // a 2.x.x status: no failure at all
  std::string status;
  std::string reason;
  std::string diagnostic;
};

// `text` read from the passage at `offset`.
Failure FailureFrom(const FailureText& text, std::size_t offset, const Lines& lines) {
  Failure failure;
  failure.status = std::string(text.status);
  failure.reason = std::string(text.phrase);
  if (text.temporary) {
    failure.kind = FailureKind::Soft;
  } else if (!text.status.empty()) {
    failure.kind = text.status.front() == '4' ? FailureKind::Soft : FailureKind::Hard;
    failure.delivered = text.status.front() == '2';
  } else if (!text.phrase.empty()) {
    failure.kind = FailureKind::Hard;
  }
  if (!text.status.empty() || !text.phrase.empty()) {
    failure.diagnostic = Shortened(lines.LineAt(lines.BeginOf(offset + text.at)));
  }
  return failure;
}

}  // namespace

std::string_view RoleName(AddressRole role) noexcept {
  switch (role) {
    case AddressRole::Recipient: return "recipient";
    case AddressRole::Sender: return "sender";
    case AddressRole::Reporter: return "reporter";
    case AddressRole::MessageId: return "message-id";
    case AddressRole::Other: break;
  }
  return "other";
}

std::string_view KindName(FailureKind kind) noexcept {
  switch (kind) {
    case FailureKind::Hard: return "hard";
    case FailureKind::Soft: return "soft";
    case FailureKind::Unknown: return "unknown";
    case FailureKind::None: break;
  }
  return "-";
}

const std::vector<AddressVerdict>& BounceClassifier::Classify(std::string_view body,
                                                              const std::vector<std::string_view>& addresses,
                                                              const std::vector<AddressOccurrence>& occurrences) {
  verdicts_.assign(addresses.size(), AddressVerdict{});
  evidence_.assign(addresses.size(), 0u);
  if (addresses.empty()) return verdicts_;

  lowered_ = LowerAscii(body);
  const std::string_view lowered = lowered_;
  const Lines lines(body);
  const FailureText bodyText = ReadFailureText(lowered);
  const std::size_t originalStart = OriginalStart(lines, body, lowered, bodyText.firstAt);
  const std::string_view report = lowered.substr(0, originalStart);
  const FailureText reportText = originalStart == body.size() ? bodyText : ReadFailureText(report);
  const bool isBounce = reportText.failure;

  bool anyRecipientField = false;
  for (const auto& occurrence : occurrences) {
    const std::size_t lineBegin = lines.BeginOf(occurrence.offset);
    const std::string_view field = lines.FieldName(lineBegin);
    unsigned& evidence = evidence_[occurrence.address];
    const bool inReport = occurrence.offset < originalStart;
    if (IsOneOf(field, kRecipientFields) || (inReport && FollowsRcpt(lowered, lineBegin, occurrence.offset))) {
      evidence |= kRecipientField;
      anyRecipientField = true;
    } else if (IsOneOf(field, kIdFields) || InBoundary(lowered, lineBegin, occurrence.offset)) {
      evidence |= kIdField;
    } else if (IsOneOf(field, kSenderFields)) {
      evidence |= kSenderField;
    } else if (IsOneOf(field, kAddresseeFields)) {
      evidence |= kAddresseeField;
    } else if (inReport) {
      evidence |= FollowsSenderLead(lowered, lineBegin, occurrence.offset) ? kSenderText : kReportText;
    }
  }

  bool anyRecipient = false;
  for (std::size_t index = 0; index < addresses.size(); ++index) {
    const unsigned evidence = evidence_[index];
    AddressRole& role = verdicts_[index].role;
    if (evidence & kRecipientField) {
      role = AddressRole::Recipient;
    } else if ((evidence & kIdField) || IsIdShaped(addresses[index])) {
      role = AddressRole::MessageId;
    } else if (IsReporterShaped(addresses[index])) {
      role = AddressRole::Reporter;
    } else if (evidence & (kSenderField | kSenderText)) {
      role = AddressRole::Sender;
    } else if ((evidence & kReportText) && isBounce && !anyRecipientField) {
      role = AddressRole::Recipient;
    }
    anyRecipient = anyRecipient || role == AddressRole::Recipient;
  }
  // A bounce that names its failed recipients nowhere else still quotes whom it was sent to.
  if (!anyRecipient && isBounce) {
    for (std::size_t index = 0; index < addresses.size(); ++index) {
      if (verdicts_[index].role == AddressRole::Other && (evidence_[index] & kAddresseeField)) {
        verdicts_[index].role = AddressRole::Recipient;
      }
    }
  }

  const Failure whole = FailureFrom(reportText, 0, lines);
  for (std::size_t index = 0; index < addresses.size(); ++index) {
    AddressVerdict& verdict = verdicts_[index];
    if (verdict.role != AddressRole::Recipient) continue;
    Failure failure;
    bool found = false;
    for (const auto& occurrence : occurrences) {
      if (occurrence.address != index || occurrence.offset >= originalStart) continue;
      auto paragraph = lines.ParagraphAround(lines.BeginOf(occurrence.offset));
      for (int tries = 0; tries < 2 && !found; ++tries) {
        const FailureText text = ReadFailureText(lowered.substr(paragraph.first, paragraph.second - paragraph.first));
        if (!text.status.empty() || !text.phrase.empty()) {
          failure = FailureFrom(text, paragraph.first, lines);
          found = true;
        }
        paragraph = lines.NextParagraph(paragraph.second);
        if (paragraph.first >= originalStart) break;
      }
      if (found) break;
    }
    if (!found) failure = whole;
    if (failure.delivered) {
      verdict.role = AddressRole::Other;
      continue;
    }
    verdict.kind = failure.kind;
    verdict.status = std::move(failure.status);
    verdict.reason = std::move(failure.reason);
    verdict.diagnostic = std::move(failure.diagnostic);
  }
  return verdicts_;
}

}  // namespace qor::engine
