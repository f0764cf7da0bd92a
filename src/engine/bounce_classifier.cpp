#include "engine/bounce_classifier.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/text.h"

namespace qor::engine {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// What the places of one address in a body show, as bits.
enum Evidence : unsigned {
  kRecipientField = 1u << 0,     // Final-Recipient, X-Failed-Recipients
  kRcpt = 1u << 9,               // "RCPT TO:<...>" of a transcript, "Recipient address:", "Original address:"
  kOriginalRecipient = 1u << 1,  // Original-Recipient: the address as first given, before aliases
  kIdField = 1u << 2,            // Message-ID, References, a MIME boundary and kin
  kSenderField = 1u << 3,        // From, Return-Path and kin
  kAddresseeField = 1u << 4,     // To, Cc and kin, of the quoted original or the report's summary of it
  kListed = 1u << 5,             // leads a line of the report, the first sign of a failure before or on it
  kReportText = 1u << 6,         // elsewhere in the report's own text
  kSenderText = 1u << 7,         // the report names it as the sender: "Dear ...", "sent by ..."
  kAlias = 1u << 8,              // "expanded from ...", "generated from ...": an alias of a recipient
  kDelivered = 1u << 10,         // a delivery-status block says it was delivered, relayed or expanded
};

enum class Field : std::uint8_t { None, Unknown, Recipient, OriginalRecipient, Id, Sender, Addressee };

struct NamedField {
  std::string_view name;
  Field field;
};

constexpr std::array<NamedField, 40> kFields = {{
    {"final-recipient", Field::Recipient},       {"x-failed-recipients", Field::Recipient},
    {"x-failed-recipient", Field::Recipient},    {"failed-recipient", Field::Recipient},
    {"x-actual-recipient", Field::Recipient},    {"original-recipient", Field::OriginalRecipient},
    {"message-id", Field::Id},                   {"references", Field::Id},
    {"in-reply-to", Field::Id},                  {"content-id", Field::Id},
    {"x-message-id", Field::Id},                 {"resent-message-id", Field::Id},
    {"original-envelope-id", Field::Id},         {"x-original-message-id", Field::Id},
    {"thread-index", Field::Id},                 {"from", Field::Sender},
    {"return-path", Field::Sender},              {"sender", Field::Sender},
    {"reply-to", Field::Sender},                 {"x-postfix-sender", Field::Sender},
    {"errors-to", Field::Sender},                {"x-sender", Field::Sender},
    {"envelope-from", Field::Sender},            {"x-envelope-from", Field::Sender},
    {"resent-from", Field::Sender},              {"x-original-sender", Field::Sender},
    {"x-original-from", Field::Sender},          {"disposition-notification-to", Field::Sender},
    {"to", Field::Addressee},                    {"cc", Field::Addressee},
    {"bcc", Field::Addressee},                   {"x-original-to", Field::Addressee},
    {"delivered-to", Field::Addressee},          {"envelope-to", Field::Addressee},
    {"x-envelope-to", Field::Addressee},         {"apparently-to", Field::Addressee},
    {"resent-to", Field::Addressee},             {"x-rcpt-to", Field::Addressee},
    {"x-original-rcpt", Field::Addressee},       {"sent-to", Field::Addressee},
}};

// Local parts of the systems that report.
constexpr std::array<std::string_view, 15> kReporterNames = {
    "mailer-daemon", "mailerdaemon", "mail-daemon", "postmaster", "daemon", "mdaemon", "bounce",
    "bounces", "noreply", "no-reply", "donotreply", "do-not-reply", "hostmaster", "majordomo", "listserv"};
// Words just before an address that make it the message's sender.
constexpr std::array<std::string_view, 8> kSenderLeads = {"sent by", "sender", "dear", "hello", "hi", "from",
                                                          "sorry", "reply-to"};
// JSON keys of mail services' notifications, by what they hold.
constexpr std::array<std::string_view, 5> kJsonRecipientKeys = {"emailAddress", "email", "recipient",
                                                                 "recipients", "finalRecipient"};
constexpr std::array<std::string_view, 4> kJsonSenderKeys = {"source", "from", "sender", "returnPath"};
constexpr std::array<std::string_view, 4> kJsonAddresseeKeys = {"destination", "to", "cc", "bcc"};
// Words before an address that make it an alias a recipient was reached through.
constexpr std::array<std::string_view, 3> kAliasLeads = {"expanded from", "generated from", "alias"};
// Words just before an address that make it a failed recipient, as a field would.
constexpr std::array<std::string_view, 3> kRecipientLeads = {"recipient", "recipient address", "original address"};

// How far back from an address its lead words are looked for.
constexpr std::size_t kLeadReach = 64;
// How far a line is looked along for its end.
constexpr std::size_t kLineReach = 4096;
// The longest run of bullets and brackets before an address that leads its line.
constexpr std::size_t kLongestBullet = 24;

constexpr char Lower(char c) noexcept { return LowerAsciiChar(c); }
bool IsLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// `name`, of letters, digits and hyphens, is `known`, lower-case, ignoring case: bit 0x20 maps
// A to Z to a to z and leaves digits and the hyphen alone.
bool SameName(std::string_view known, std::string_view name) noexcept {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if ((name[i] | 0x20) != known[i]) return false;
  }
  return true;
}

// The known field names by length and first letter, so a name is compared with one or two.
class FieldTable {
 public:
  constexpr FieldTable() {
    first_.fill(kNone);
    next_.fill(kNone);
    for (std::size_t index = kFields.size(); index-- > 0;) {
      const std::size_t slot = Slot(kFields[index].name);
      next_[index] = first_[slot];
      first_[slot] = static_cast<std::uint8_t>(index);
    }
  }

  Field Find(std::string_view name) const noexcept {
    if (name.empty()) return Field::None;
    const char first = Lower(name[0]);
    if (name.size() > kLongest || first < 'a' || first > 'z') return Field::Unknown;
    for (std::uint8_t index = first_[Slot(name)]; index != kNone; index = next_[index]) {
      if (SameName(kFields[index].name, name)) return kFields[index].field;
    }
    return Field::Unknown;
  }

 private:
  static constexpr std::size_t kLongest = 40;
  static constexpr std::uint8_t kNone = 0xFF;
  static constexpr std::size_t Slot(std::string_view name) noexcept {
    return name.size() * 26 + static_cast<std::size_t>(Lower(name[0]) - 'a');
  }
  std::array<std::uint8_t, (kLongest + 1) * 26> first_{};
  std::array<std::uint8_t, kFields.size()> next_{};
};

constexpr FieldTable kFieldTable;

Field FieldNamed(std::string_view name) noexcept { return kFieldTable.Find(name); }

bool IsIndent(char c) noexcept { return c == ' ' || c == '\t'; }


// Past the quoting marks of a forwarded bounce ("> From: ...").
std::size_t Unquoted(std::string_view body, std::size_t at) noexcept {
  const std::size_t begin = at;
  while (at < body.size() && body[at] == '>') ++at;
  if (at > begin && at < body.size() && body[at] == ' ') ++at;
  return at;
}

// The field the line at `lineBegin` belongs to: its own name, the name an indented line of
// the report's summary starts with ("  To: ..."), or the field a folded line continues.
Field FieldOfLine(std::string_view body, std::size_t lineBegin) noexcept {
  std::size_t at = Unquoted(body, lineBegin);
  if (at >= body.size() || !IsIndent(body[at])) return FieldNamed(FieldNameAt(body, at));
  while (at < body.size() && IsIndent(body[at])) ++at;
  if (const Field field = FieldNamed(FieldNameAt(body, at)); field != Field::None && field != Field::Unknown) {
    return field;
  }
  // A folded line: find the line it continues, a few lines and bytes up at most.
  constexpr int kLongestFolding = 30;
  constexpr std::size_t kFoldingReach = 4096;
  std::size_t begin = lineBegin;
  for (int step = 0; step < kLongestFolding && begin > 0 && lineBegin - begin < kFoldingReach; ++step) {
    std::size_t end = begin - 1;
    if (body[end] == '\n' && end > 0 && body[end - 1] == '\r') --end;
    std::size_t previous = end;
    while (previous > 0 && !IsLineBreak(body[previous - 1]) && lineBegin - previous < kFoldingReach) --previous;
    if (previous > 0 && !IsLineBreak(body[previous - 1])) return Field::None;
    const std::size_t text = Unquoted(body, previous);
    if (text >= end || IsBlankLine(body.substr(text, end - text))) return Field::None;
    if (!IsIndent(body[text])) return FieldNamed(FieldNameAt(body, text));
    begin = previous;
  }
  return Field::None;
}

// Whether [from, to) holds `word`, ignoring case.
bool Holds(std::string_view body, std::size_t from, std::size_t to, std::string_view word) noexcept {
  if (to - from < word.size()) return false;
  const char first = word[0];
  for (std::size_t at = from; at + word.size() <= to; ++at) {
    if ((body[at] | 0x20) != first) continue;
    std::size_t i = 1;
    while (i < word.size() && Lower(body[at + i]) == word[i]) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

// Whether [from, to), without the brackets, colons and spaces before an address, ends in one of
// `words`, standing as a word.
template <std::size_t N>
bool EndsWithLead(std::string_view body, std::size_t from, std::size_t to,
                  const std::array<std::string_view, N>& words) noexcept {
  while (to > from && (IsIndent(body[to - 1]) || body[to - 1] == '<' || body[to - 1] == ':' ||
                       body[to - 1] == '"' || body[to - 1] == '\'' || body[to - 1] == '(')) {
    --to;
  }
  for (const std::string_view word : words) {
    if (to - from < word.size()) continue;
    const std::size_t at = to - word.size();
    if (at > from && IsLetter(body[at - 1])) continue;
    if (platform::EqualsIgnoringAsciiCase(body.substr(at, word.size()), word)) return true;
  }
  return false;
}

// The key of a JSON member whose value the address begins: "emailAddress" of
// {"emailAddress":"a@b", and "to" of "to":["a@b"; also inside a JSON string (\"to\":\"a@b).
std::string_view JsonKeyBefore(std::string_view body, std::size_t from, std::size_t to) noexcept {
  const auto quote = [&](std::size_t& at) {
    if (at <= from || body[at - 1] != '"') return false;
    --at;
    if (at > from && body[at - 1] == '\\') --at;
    return true;
  };
  const auto spaces = [&](std::size_t& at) {
    while (at > from && body[at - 1] == ' ') --at;
  };
  if (!quote(to)) return {};
  if (to > from && body[to - 1] == '[') --to;
  spaces(to);
  if (to <= from || body[to - 1] != ':') return {};
  --to;
  spaces(to);
  if (!quote(to)) return {};
  const std::size_t end = to;
  while (to > from && body[to - 1] != '"' && body[to - 1] != '\\') --to;
  if (to <= from || to == end) return {};
  return body.substr(to, end - to);
}

// In the query of a link ("...?a=1&Endpoint=a@b"): a parameter, not a mention.
bool InLinkQuery(std::string_view body, std::size_t from, std::size_t to) noexcept {
  if (to <= from || body[to - 1] != '=') return false;
  for (std::size_t at = to; at > from; --at) {
    const char c = body[at - 1];
    if (c == ' ' || c == '\t' || c == '"' || c == '<') return false;
    if (c == '?' || c == '&') return true;
  }
  return false;
}

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) noexcept {
  return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return platform::EqualsIgnoringAsciiCase(name, n); });
}

// A colon just before the address, past brackets and spaces: "RCPT TO:<a@b>", "Recipient: a@b".
bool AfterColon(std::string_view body, std::size_t from, std::size_t to) noexcept {
  while (to > from && (IsIndent(body[to - 1]) || body[to - 1] == '<' || body[to - 1] == '"')) --to;
  return to > from && body[to - 1] == ':';
}

// Only bullets, brackets and spaces before the address on its line: "  <a@b>:", "-> a@b".
bool LeadsLine(std::string_view body, std::size_t lineBegin, std::size_t at) noexcept {
  if (at - lineBegin > kLongestBullet) return false;
  constexpr std::string_view kBullets = " \t<>\"'([-*=:|#.)";
  for (std::size_t i = lineBegin; i < at; ++i) {
    if (kBullets.find(body[i]) == std::string_view::npos && !(body[i] >= '0' && body[i] <= '9')) return false;
  }
  return true;
}

std::string_view LocalPart(std::string_view address) noexcept { return address.substr(0, address.find('@')); }

bool IsReporterShaped(std::string_view address) noexcept {
  const std::string_view local = LocalPart(address);
  if (local.size() < 6 || local.size() > 13) return false;
  return std::any_of(kReporterNames.begin(), kReporterNames.end(),
                     [&](std::string_view name) { return platform::EqualsIgnoringAsciiCase(local, name); });
}

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

// Mail can be sent to it: a local part, and a domain with a dot inside.
bool IsDeliverable(std::string_view address) noexcept {
  const std::size_t at = address.rfind('@');
  if (at == 0 || at == npos) return false;
  const std::string_view domain = address.substr(at + 1);
  const std::size_t dot = domain.find('.');
  return dot != npos && dot > 0 && dot + 1 < domain.size();
}

// The quoted original carries transport fields (Received:, Return-Path:) near its start: the
// message came back whole, as only a bounce sends it.
bool ReturnedWithTransport(std::string_view body, std::size_t start) noexcept {
  constexpr std::size_t kReach = 8192;
  const std::size_t end = std::min(body.size(), start + kReach);
  for (std::size_t at = start; at < end; at = NextLine(body, LineEnd(body, at, end))) {
    const std::string_view name = FieldNameAt(body, at);
    if (platform::EqualsIgnoringAsciiCase(name, "received") || platform::EqualsIgnoringAsciiCase(name, "return-path")) return true;
  }
  return false;
}

// The line around `at`, trimmed and shortened to whole UTF-8 characters.
void AssignDiagnostic(std::string& out, std::string_view body, std::size_t at) {
  constexpr std::size_t kReach = 512;
  constexpr std::size_t kLongest = 120;
  std::size_t begin = at;
  while (begin > 0 && at - begin < kReach && !IsLineBreak(body[begin - 1])) --begin;
  std::size_t end = LineEnd(body, at, std::min(body.size(), at + kReach));
  while (begin < end && static_cast<unsigned char>(body[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(body[end - 1]) <= ' ') --end;
  if (end - begin > kLongest) {
    end = begin + kLongest;
    while (end > begin && (static_cast<unsigned char>(body[end]) & 0xC0) == 0x80) --end;
  }
  out.assign(body.substr(begin, end - begin));
}

// What a recipient's delivery-status block says, as read for its verdict.
enum BlockTaken : std::uint8_t { kUnread, kNothing, kFailedAsTold, kDeliveredAsTold };

// Reads the delivery-status block of the Final-Recipient field at `lineBegin` into `verdict`.
BlockTaken TakeStatusBlock(std::string_view body, std::size_t lineBegin, AddressVerdict& verdict) {
  const StatusBlock block = ReadStatusBlock(body, lineBegin);
  if (block.delivered) return kDeliveredAsTold;
  if (block.kind == FailureKind::None || block.kind == FailureKind::Unknown) return kNothing;
  verdict.kind = block.kind;
  verdict.status.assign(block.status);
  verdict.reason.assign(block.reason);
  if (block.diagnosticAt != npos) AssignDiagnostic(verdict.diagnostic, body, block.diagnosticAt);
  return kFailedAsTold;
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
  const std::size_t count = addresses.size();
  verdicts_.resize(count);
  for (AddressVerdict& verdict : verdicts_) {
    verdict.role = AddressRole::Other;
    verdict.kind = FailureKind::None;
    verdict.status.clear();
    verdict.reason.clear();
    verdict.diagnostic.clear();
  }
  evidence_.assign(count, 0u);
  blocks_.assign(count, kUnread);
  textPlaces_.clear();
  isPlace_.assign(occurrences.size(), 0);
  reportRead_ = false;
  originalStart_ = body.size();
  if (count == 0) return verdicts_;

  ReadPlaces(body, addresses, occurrences);
  // Delivery-status fields, where shown, name the failed recipients; else the report's text does.
  const auto anyWith = [&](unsigned bits) {
    return std::any_of(evidence_.begin(), evidence_.end(), [&](unsigned e) { return (e & bits) != 0; });
  };
  const unsigned recipientField = anyWith(kRecipientField) ? kRecipientField : kOriginalRecipient;
  const bool fromFields = anyWith(recipientField);
  const bool isBounce = fromFields || WeighReport(body, occurrences);
  if (AssignRoles(addresses, recipientField, isBounce)) ReadKinds(body, occurrences);
  for (AddressVerdict& verdict : verdicts_) {
    if (verdict.role == AddressRole::Recipient || verdict.kind == FailureKind::None) continue;
    verdict.kind = FailureKind::None;
    verdict.status.clear();
    verdict.reason.clear();
    verdict.diagnostic.clear();
  }
  return verdicts_;
}

void BounceClassifier::ReadPlaces(std::string_view body, const std::vector<std::string_view>& addresses,
                                  const std::vector<AddressOccurrence>& occurrences) {
  // What each place's own line says: header fields, "RCPT TO:", or the MTA's text. The line's
  // start is found walking back no further than the place before, so a body of one line costs
  // one walk over it.
  std::size_t lineBegin = 0;
  std::size_t floor = 0;
  std::size_t fieldLine = npos;
  Field field = Field::None;
  for (std::size_t index = 0; index < occurrences.size(); ++index) {
    const std::size_t at = occurrences[index].offset;
    const std::size_t address = occurrences[index].address;
    if (at >= body.size()) continue;
    const std::size_t walk = LineStart(body, at, floor);
    if (index == 0 || walk > floor) lineBegin = walk;
    floor = at;
    if (lineBegin != fieldLine) {
      field = FieldOfLine(body, lineBegin);
      fieldLine = lineBegin;
    }
    const std::size_t leadFrom = std::max(lineBegin, at > kLeadReach ? at - kLeadReach : 0);
    unsigned& evidence = evidence_[address];
    const bool mayLead = field == Field::None || field == Field::Unknown || field == Field::Sender;
    if (mayLead && AfterColon(body, leadFrom, at) &&
        (Holds(body, leadFrom, at, "rcpt") || EndsWithLead(body, leadFrom, at, kRecipientLeads))) {
      evidence |= kRcpt;
      isPlace_[index] = 1;
      continue;
    }
    switch (field) {
      case Field::Recipient:
        if (blocks_[address] == kUnread) blocks_[address] = TakeStatusBlock(body, lineBegin, verdicts_[address]);
        evidence |= blocks_[address] == kDeliveredAsTold ? kDelivered : kRecipientField;
        continue;
      case Field::OriginalRecipient: evidence |= kOriginalRecipient; continue;
      case Field::Id: evidence |= kIdField; continue;
      case Field::Sender: evidence |= kSenderField; continue;
      case Field::Addressee: evidence |= kAddresseeField; continue;
      case Field::None:
      case Field::Unknown: break;
    }
    if (Holds(body, leadFrom, at, "boundary=")) {
      evidence |= kIdField;
      continue;
    }
    if (const std::string_view key = JsonKeyBefore(body, leadFrom, at); !key.empty()) {
      // A JSON notification of a mail service: its keys say what each address is.
      if (IsOneOf(key, kJsonRecipientKeys)) {
        textPlaces_.push_back({index, TextShape::Leading});
        isPlace_[index] = 1;
      } else if (IsOneOf(key, kJsonSenderKeys)) {
        evidence |= kSenderField;
      } else if (IsOneOf(key, kJsonAddresseeKeys)) {
        evidence |= kAddresseeField;
      }
      continue;
    }
    if (InLinkQuery(body, leadFrom, at)) continue;
    TextShape shape = TextShape::Plain;
    if (LeadsLine(body, lineBegin, at)) {
      const std::size_t end = at + addresses[address].size();
      const bool bracketed = at > 0 && body[at - 1] == '<' && end + 1 < body.size() && body[end] == '>' &&
                             body[end + 1] == ':';
      shape = bracketed ? TextShape::Bracketed : TextShape::Leading;
    } else if (std::any_of(kAliasLeads.begin(), kAliasLeads.end(),
                           [&](std::string_view lead) { return Holds(body, leadFrom, at, lead); })) {
      shape = TextShape::AliasLead;
    } else if (EndsWithLead(body, leadFrom, at, kSenderLeads)) {
      shape = TextShape::SenderLead;
    }
    isPlace_[index] = shape == TextShape::Plain || shape == TextShape::Leading || shape == TextShape::Bracketed;
    textPlaces_.push_back({index, shape});
  }
}

bool BounceClassifier::WeighReport(std::string_view body, const std::vector<AddressOccurrence>& occurrences) {
  ReadReport(body);
  // A notice with failure words, unless it calls itself an auto-reply or an abuse report; or a
  // message that came back whole with its transport fields.
  bool isBounce = report_.Failed() && (!report_.notBounce || !report_.status.empty());
  if (!isBounce && !report_.notBounce && originalStart_ < body.size()) {
    isBounce = ReturnedWithTransport(body, originalStart_);
  }
  for (const TextPlace& place : textPlaces_) {
    const std::size_t at = occurrences[place.occurrence].offset;
    if (at >= originalStart_) {
      isPlace_[place.occurrence] = 0;
      continue;
    }
    unsigned& evidence = evidence_[occurrences[place.occurrence].address];
    switch (place.shape) {
      case TextShape::Bracketed:
        // "<a@b>:" opening a line is how Postfix and qmail report a failed recipient.
        evidence |= kListed;
        isBounce = isBounce || !report_.notBounce;
        break;
      case TextShape::Leading:
        evidence |= report_.firstAt < LineEnd(body, at, at + kLineReach) ? kListed : kReportText;
        break;
      case TextShape::Plain: evidence |= kReportText; break;
      case TextShape::AliasLead: evidence |= kAlias; break;
      case TextShape::SenderLead: evidence |= kSenderText; break;
    }
  }
  return isBounce;
}

bool BounceClassifier::AssignRoles(const std::vector<std::string_view>& addresses, unsigned recipientField,
                                   bool isBounce) {
  const bool anyListed =
      std::any_of(evidence_.begin(), evidence_.end(), [](unsigned e) { return (e & kListed) != 0; });
  bool anyRecipient = false;
  for (std::size_t index = 0; index < addresses.size(); ++index) {
    const unsigned evidence = evidence_[index];
    AddressRole& role = verdicts_[index].role;
    if ((evidence & kDelivered) && !(evidence & kRecipientField)) {
      role = AddressRole::Other;
    } else if (evidence & (recipientField | kRcpt)) {
      role = AddressRole::Recipient;
    } else if (evidence & kIdField) {
      role = AddressRole::MessageId;
    } else if ((evidence & (kListed | kAlias)) && isBounce) {
      // Listed, or the alias a listed recipient was reached through: the address the user wrote.
      role = AddressRole::Recipient;
    } else if (IsIdShaped(addresses[index])) {
      role = AddressRole::MessageId;
    } else if (IsReporterShaped(addresses[index])) {
      role = AddressRole::Reporter;
    } else if (evidence & (kSenderField | kSenderText)) {
      role = AddressRole::Sender;
    } else if ((evidence & kReportText) && isBounce && !anyListed) {
      role = AddressRole::Recipient;
    }
    if (role == AddressRole::Recipient && !IsDeliverable(addresses[index])) role = AddressRole::Other;
    anyRecipient = anyRecipient || role == AddressRole::Recipient;
  }
  // A bounce that names its failed recipients nowhere else still quotes whom it was sent to.
  if (!anyRecipient && isBounce) {
    for (std::size_t index = 0; index < addresses.size(); ++index) {
      if (verdicts_[index].role == AddressRole::Other && (evidence_[index] & kAddresseeField) &&
          IsDeliverable(addresses[index])) {
        verdicts_[index].role = AddressRole::Recipient;
        anyRecipient = true;
      }
    }
  }
  return anyRecipient;
}

void BounceClassifier::ReadReport(std::string_view body) {
  if (reportRead_) return;
  reportRead_ = true;
  report_ = ReadPassage(body, 0, PassageLimits{}, originalStart_);
  if (report_.Failed() || report_.notBounce || originalStart_ >= body.size()) return;
  // A forwarded bounce: a note, a line announcing the message ("-----Original Message-----"),
  // and the bounce itself, whose headers say it is one ("Subject: Undeliverable: ..."). Its
  // report is the text from the announcing line to the original it returns.
  const std::size_t forwarded = NextLine(body, LineEnd(body, originalStart_, body.size()));
  PassageLimits headers;
  headers.end = std::min(body.size(), forwarded + kLineReach);
  headers.paragraphs = 0;
  headers.originalNeedsFailure = false;
  std::size_t stop = 0;
  if (!ReadPassage(body, forwarded, headers, stop).Failed()) return;
  report_ = ReadPassage(body, forwarded, PassageLimits{}, originalStart_);
}

void BounceClassifier::ReadKinds(std::string_view body, const std::vector<AddressOccurrence>& occurrences) {
  const std::size_t places = occurrences.size();
  // By place: where the next place of another failed recipient stands, so a recipient's passage
  // stops before the next one's.
  nextOther_.resize(places);
  std::size_t nearest = npos;
  std::size_t nearestAt = npos;
  std::size_t otherAt = npos;
  for (std::size_t index = places; index-- > 0;) {
    const std::size_t address = occurrences[index].address;
    nextOther_[index] = address != nearest ? nearestAt : otherAt;
    if (isPlace_[index] && verdicts_[address].role == AddressRole::Recipient) {
      if (address != nearest) {
        otherAt = nearestAt;
        nearest = address;
      }
      nearestAt = occurrences[index].offset;
    }
  }

  // Each recipient's kind from its delivery-status fields where shown, else from the passage at
  // its first places in the report: its own line, the rest of its paragraph and the next two.
  constexpr std::uint8_t kDone = 0xFF;
  constexpr std::uint8_t kGeneral = 0xFE;  // read, in general words only
  constexpr std::uint8_t kMostTries = 3;
  constexpr std::size_t kReachBack = 256;
  constexpr std::size_t kReachOn = 2048;
  tries_.assign(verdicts_.size(), 0);
  for (std::size_t address = 0; address < verdicts_.size(); ++address) {
    if (blocks_[address] == kFailedAsTold) tries_[address] = kDone;
  }
  for (std::size_t index = 0; index < places; ++index) {
    const std::size_t address = occurrences[index].address;
    AddressVerdict& verdict = verdicts_[address];
    if (!isPlace_[index] || verdict.role != AddressRole::Recipient || tries_[address] >= kMostTries) continue;
    const std::size_t at = occurrences[index].offset;
    std::size_t begin = at;
    while (begin > 0 && at - begin < kReachBack && !IsLineBreak(body[begin - 1])) --begin;
    PassageLimits limits;
    limits.end = std::min({nextOther_[index], at + kReachOn, reportRead_ && at < originalStart_ ? originalStart_ : npos});
    limits.paragraphs = 2;
    limits.originalNeedsFailure = false;
    limits.untilKnown = true;
    std::size_t stop = 0;
    const FailureText text = ReadPassage(body, begin, limits, stop);
    if (!text.Failed() && !text.delivered) {
      ++tries_[address];
      continue;
    }
    tries_[address] = text.specific || text.delivered ? kDone : kGeneral;
    if (text.delivered) {
      verdict.role = AddressRole::Other;
      continue;
    }
    verdict.kind = text.kind;
    verdict.status.assign(text.status);
    verdict.reason.assign(text.phrase);
    if (text.DiagnosticAt() != npos) AssignDiagnostic(verdict.diagnostic, body, text.DiagnosticAt());
  }

  // The others from the report as a whole, which also wins over general words ("delivery
  // failed") near the recipient when it names a cause. In a warning that the MTA keeps
  // trying, every recipient the text names is a passing failure, whatever its cause.
  for (std::size_t address = 0; address < verdicts_.size(); ++address) {
    AddressVerdict& verdict = verdicts_[address];
    if (verdict.role != AddressRole::Recipient || blocks_[address] == kFailedAsTold) continue;
    if (reportRead_ && report_.delayNotice) verdict.kind = FailureKind::Soft;
    if (tries_[address] == kDone) continue;
    ReadReport(body);
    if (tries_[address] == kGeneral && !report_.specific) continue;
    if (!report_.Failed()) {
      if (verdict.kind == FailureKind::None) verdict.kind = FailureKind::Unknown;
      continue;
    }
    verdict.kind = report_.delayNotice ? FailureKind::Soft : report_.kind;
    verdict.status.assign(report_.status);
    verdict.reason.assign(report_.phrase);
    if (report_.DiagnosticAt() != npos) AssignDiagnostic(verdict.diagnostic, body, report_.DiagnosticAt());
  }
}

}  // namespace qor::engine
