#pragma once

#include <cstddef>
#include <string_view>

namespace qor::engine {

// How a recipient failed; None for an address that is no failed recipient.
enum class FailureKind { None, Hard, Soft, Unknown };

// What a passage of a bounce says about a failure. Views point into the text read, except
// `phrase`, which is the phrase table's own lower-case wording.
struct FailureText {
  static constexpr std::size_t npos = std::string_view::npos;

  std::string_view status;     // of the cause: its 4.x.x or 5.x.x, else its 4xx or 5xx; else a 2.x.x
  std::size_t statusAt = npos;
  std::string_view phrase;     // the words that decided the kind, e.g. "user unknown"
  std::size_t phraseAt = npos;
  bool specific = false;       // the kind comes from a status or a phrase for a cause, not general words
  std::size_t firstAt = npos;  // where the first sign of a failure begins
  FailureKind kind = FailureKind::None;
  bool delivered = false;      // a 2.x.x status and no sign of a failure
  bool notBounce = false;      // words of an auto-reply or an abuse report
  bool hardWords = false;      // a phrase for a refused address or message, e.g. "user unknown"
  bool softWords = false;      // a phrase for a passing condition, e.g. "mailbox full"
  bool delayNotice = false;    // words of a warning that the MTA keeps trying, e.g. "delayed"

  bool Failed() const noexcept { return kind != FailureKind::None; }
  // Where the status, or else the phrase, stands.
  std::size_t DiagnosticAt() const noexcept { return statusAt != npos ? statusAt : phraseAt; }
};

// What a recipient's delivery-status block (RFC 3464) says: its Action, its Status and the
// Diagnostic-Code the remote server wrote. Views point into the text read.
struct StatusBlock {
  FailureKind kind = FailureKind::None;
  bool delivered = false;  // Action delivered, relayed or expanded, or a 2.x.x Status
  std::string_view status;
  std::string_view reason;
  std::size_t diagnosticAt = FailureText::npos;  // the Diagnostic-Code line, else the Status line
};

// Reads the block of the Final-Recipient field at `lineBegin`, to the next blank line or
// Final-Recipient. The kind is the Status field's, unless the Action is "delayed", the
// diagnostic names a passing condition, or the Status is the catch-all 5.0.0 and the
// diagnostic says more.
StatusBlock ReadStatusBlock(std::string_view text, std::size_t lineBegin);

// Hard or soft for an enhanced status (5.1.1) or reply code (550): 4 is soft; of 5, the
// codes RFC 3463 gives to passing conditions (mailbox full, system full, congestion, routing
// loop, delivery time expired) and 552 ("exceeded storage allocation") are soft; the rest hard.
FailureKind KindOfStatus(std::string_view status) noexcept;

// A line break is LF, CR LF or CR alone.
inline bool IsLineBreak(char c) noexcept { return c == '\n' || c == '\r'; }
// Where the line holding `at` ends (its CR or LF), no further than `end`.
std::size_t LineEnd(std::string_view text, std::size_t at, std::size_t end) noexcept;
// Where the line holding `at` begins, looking back no further than `floor`: `floor` when no
// line break stands between them.
std::size_t LineStart(std::string_view text, std::size_t at, std::size_t floor) noexcept;
// Where the line after the one ending at `lineEnd` begins.
std::size_t NextLine(std::string_view text, std::size_t lineEnd) noexcept;
bool IsBlankLine(std::string_view line) noexcept;
// The name of the header field at `at` ("Final-Recipient" of "Final-Recipient: ..."): up to 40
// letters, digits and hyphens, then a colon; empty when there is none.
std::string_view FieldNameAt(std::string_view text, std::size_t at) noexcept;

// How far ReadPassage reads.
struct PassageLimits {
  std::size_t end = std::string_view::npos;  // no further than this offset
  int paragraphs = 1 << 30;                  // no further than this many paragraphs after the first
  bool originalNeedsFailure = true;          // header fields start the quoted original only after a failure sign
  bool untilKnown = false;                   // stop once the cause is read whole or names a passing condition
};

// Reads the text from `begin` line by line, ASCII case ignored, until the limits or the start of
// the quoted original: a line announcing it ("----- Original message -----", "Below is a copy of
// the message:") or, after a blank line, the header fields it starts with (From:, Received:,
// ...). Sets `stop` to where it stopped. The kind comes from the cause, the first status or
// phrase for a cause with the rest of its line and the indented lines continuing it: soft for a
// passing condition, else the status's kind (KindOfStatus), else hard for a refusal; without a
// cause, from general words, hard for a notice that only says delivery failed. Time grows with
// the bytes read, not with the number of phrases.
FailureText ReadPassage(std::string_view text, std::size_t begin, const PassageLimits& limits, std::size_t& stop);

}  // namespace qor::engine
