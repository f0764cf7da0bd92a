#include "engine/bounce_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/bounce_phrases.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

using namespace bounce_phrases;

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char Lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsIndent(char c) noexcept { return c == ' ' || c == '\t'; }
bool IsGap(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>'; }

// The phrases by their first three characters, hashed, so a word of a passage is tried against
// the few phrases that start as it does, and most words against none.
class PhraseIndex {
 public:
  constexpr PhraseIndex() {
    std::array<std::uint16_t, kBuckets + 1> counts{};
    for (std::size_t index = 0; index < kPhraseCount; ++index) ++counts[Bucket(kPhrases[index].words, 0)];
    std::uint16_t sum = 0;
    for (std::size_t bucket = 0; bucket <= kBuckets; ++bucket) {
      starts_[bucket] = sum;
      if (bucket < kBuckets) sum = static_cast<std::uint16_t>(sum + counts[bucket]);
    }
    std::array<std::uint16_t, kBuckets> filled{};
    for (std::size_t index = 0; index < kPhraseCount; ++index) {
      const std::size_t bucket = Bucket(kPhrases[index].words, 0);
      phrases_[starts_[bucket] + filled[bucket]++] = static_cast<std::uint16_t>(index);
    }
  }

  // The phrases that may start at `at`, a word's first letter.
  std::pair<const std::uint16_t*, const std::uint16_t*> At(std::string_view text, std::size_t at) const noexcept {
    const std::size_t bucket = Bucket(text, at);
    return {phrases_.data() + starts_[bucket], phrases_.data() + starts_[bucket + 1]};
  }

 private:
  static constexpr std::size_t kBuckets = 1024;
  static constexpr std::size_t Code(std::string_view text, std::size_t at) noexcept {
    if (at >= text.size()) return 26;
    const char c = Lower(text[at]);
    return c >= 'a' && c <= 'z' ? static_cast<std::size_t>(c - 'a') : 26;
  }
  static constexpr std::size_t Bucket(std::string_view text, std::size_t at) noexcept {
    const std::size_t key = (Code(text, at) * 27 + Code(text, at + 1)) * 27 + Code(text, at + 2);
    return (key * 2654435761u >> 7) % kBuckets;
  }

  std::array<std::uint16_t, kBuckets + 1> starts_{};
  std::array<std::uint16_t, kPhraseCount> phrases_{};
};

constexpr PhraseIndex kIndex;

// Where `phrase` ends when it matches at `at`, npos when it does not.
std::size_t MatchEnd(std::string_view text, std::size_t at, std::string_view phrase) noexcept {
  const bool runsOn = phrase.back() == '*';
  if (runsOn) phrase.remove_suffix(1);
  for (const char c : phrase) {
    if (c == ' ') {
      if (at >= text.size() || !IsGap(text[at])) return std::string_view::npos;
      while (at < text.size() && IsGap(text[at])) ++at;
    } else {
      if (at >= text.size() || Lower(text[at]) != c) return std::string_view::npos;
      ++at;
    }
  }
  if (!runsOn && at < text.size() && IsLetter(text[at])) return std::string_view::npos;
  return at;
}

// A run of one to three digits at `at`: its length, 0 when there is none or a fourth follows.
std::size_t ShortNumberAt(std::string_view text, std::size_t at) noexcept {
  std::size_t length = 0;
  while (at + length < text.size() && length < 4 && IsDigit(text[at + length])) ++length;
  return length <= 3 ? length : 0;
}

// "5.1.1" standing alone: not within an address, a version or a longer number.
std::string_view EnhancedStatusAt(std::string_view text, std::size_t at) noexcept {
  const char c = text[at];
  if (c != '2' && c != '4' && c != '5') return {};
  std::size_t end = at + 1;
  for (int dot = 0; dot < 2; ++dot) {
    if (end >= text.size() || text[end] != '.') return {};
    const std::size_t digits = ShortNumberAt(text, end + 1);
    if (digits == 0) return {};
    end += 1 + digits;
  }
  if (end < text.size() && (text[end] == '.' || text[end] == '@' || IsLetter(text[end]))) return {};
  return text.substr(at, end - at);
}

// "550" as a reply code: after a separator, followed by a space, a hyphen or the line's end; not
// a time of day.
std::string_view ReplyCodeAt(std::string_view text, std::size_t at) noexcept {
  const char c = text[at];
  if (c != '4' && c != '5') return {};
  if (at + 3 >= text.size() || !IsDigit(text[at + 1]) || !IsDigit(text[at + 2])) return {};
  if (text[at + 3] != ' ' && text[at + 3] != '-' && !IsLineBreak(text[at + 3])) return {};
  if (at > 0) {
    constexpr std::string_view kBefore = " \t\r\n(;:\"'<>[#=";
    if (kBefore.find(text[at - 1]) == std::string_view::npos) return {};
    if (text[at - 1] == ':' && at > 1 && IsDigit(text[at - 2])) return {};
  }
  return text.substr(at, 3);
}

// A 2.x.x status says "delivered" only as a field's value or after a 2xx reply, not as a version.
bool StandsAsSuccess(std::string_view text, std::size_t at) noexcept {
  std::size_t before = at;
  while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t')) --before;
  if (before == 0) return false;
  const char c = text[before - 1];
  if (c == ':' || c == ';') return true;
  return before >= 3 && text[before - 3] == '2' && IsDigit(text[before - 2]) && IsDigit(text[before - 1]);
}

// A number of two or more just before `at`: "20 attempts", not "attempts: 0".
bool AfterCount(std::string_view text, std::size_t at) noexcept {
  while (at > 0 && text[at - 1] == ' ') --at;
  std::size_t digits = 0;
  while (at > digits && IsDigit(text[at - 1 - digits])) ++digits;
  return digits > 1 || (digits == 1 && text[at - 1] >= '2');
}

bool IsRuleChar(char c) noexcept {
  return c == '-' || c == '=' || c == '*' || c == '_' || c == '#' || c == '~' || c == '[' || c == '|';
}

// A line that announces the quoted original rather than mentions it: set off by rules, starting
// with the words, or ending in a colon ("Below is a copy of the original message:").
bool IsMarkerLine(std::string_view text, std::size_t begin, std::size_t end, std::size_t matchAt) noexcept {
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  constexpr std::size_t kLongestMarkerLine = 160;
  if (begin == end || end - begin > kLongestMarkerLine) return false;
  return IsRuleChar(text[begin]) || matchAt == begin || text[end - 1] == ':';
}

// Header fields a quoted original starts with.
bool StartsOriginalHeader(std::string_view line) noexcept {
  constexpr std::array<std::string_view, 6> kFields = {"from:", "return-path:", "received:", "message-id:",
                                                       "mime-version:", "delivered-to:"};
  for (const std::string_view field : kFields) {
    if (line.size() < field.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < field.size() && same; ++i) same = Lower(line[i]) == field[i];
    if (same) return true;
  }
  return false;
}

// What one passage holds, gathered as it is read.
struct Gathered {
  static constexpr std::size_t npos = FailureText::npos;
  // How far the cause of a failure reaches past its first sign, within its lines.
  static constexpr std::size_t kCauseReach = 512;

  std::size_t failedAt = npos;  // first phrase of any failure category
  std::array<std::size_t, kNotBounce + 1> firstOf{};
  std::array<std::uint16_t, kNotBounce + 1> phraseOf{};
  std::string_view enhanced, reply, success;
  std::size_t enhancedAt = npos, replyAt = npos, successAt = npos;
  // The cause: from the first status or phrase for a cause to the end of its line and the
  // indented lines continuing it. Signs further on belong to other recipients or other
  // attempts ("Deferred: Connection timed out" of a transcript after "User unknown").
  std::size_t causeAt = npos;
  std::size_t causeEnd = npos;
  std::string_view causeEnhanced, causeReply;
  std::size_t causeEnhancedAt = npos, causeReplyAt = npos;
  std::array<std::size_t, 3> causeWordsAt{npos, npos, npos};  // kHard, kSoft, kBusy
  std::array<std::uint16_t, 3> causeWords{};

  Gathered() { firstOf.fill(npos); }

  bool InCause(std::size_t at) {
    if (causeAt == npos) {
      causeAt = at;
      causeEnd = at + kCauseReach;
    }
    return at < causeEnd;
  }
  void AddPhrase(std::uint16_t index, std::size_t at) {
    const Category category = kPhrases[index].category;
    if (firstOf[category] == npos) {
      firstOf[category] = at;
      phraseOf[category] = index;
    }
    if (category <= kBusy && failedAt == npos) failedAt = at;
    if (category >= kHard && category <= kBusy && InCause(at)) {
      const std::size_t slot = static_cast<std::size_t>(category - kHard);
      if (causeWordsAt[slot] == npos) causeWordsAt[slot] = at, causeWords[slot] = index;
    }
  }
  void AddDigits(std::string_view text, std::size_t at) {
    if (const auto status = EnhancedStatusAt(text, at); !status.empty()) {
      if (status.front() != '2') {
        if (enhanced.empty()) enhanced = status, enhancedAt = at;
        if (causeEnhanced.empty() && InCause(at)) causeEnhanced = status, causeEnhancedAt = at;
      } else if (success.empty() && StandsAsSuccess(text, at)) {
        success = status, successAt = at;
      }
      return;
    }
    if (const auto code = ReplyCodeAt(text, at); !code.empty()) {
      if (reply.empty()) reply = code, replyAt = at;
      if (causeReply.empty() && InCause(at)) causeReply = code, causeReplyAt = at;
    }
  }
  // A line at `at` that is blank or not indented ends the cause's line and its continuation.
  void EndCause(std::size_t at) {
    if (causeAt != npos && at < causeEnd) causeEnd = at;
  }
  // The cause is read whole, or says the condition passes: reading on would change nothing.
  bool Known(std::size_t at) const noexcept {
    return causeAt != npos && (at >= causeEnd || causeWordsAt[1] != npos);
  }
  bool Failed() const noexcept { return failedAt != npos || !enhanced.empty() || !reply.empty(); }

  FailureText Result() const {
    FailureText text;
    const auto takeWords = [&](std::uint16_t index, std::size_t at) {
      text.phrase = kPhrases[index].words;
      if (text.phrase.back() == '*') text.phrase.remove_suffix(1);
      text.phraseAt = at;
    };
    const auto take = [&](Category category) { takeWords(phraseOf[category], firstOf[category]); };
    text.notBounce = firstOf[kNotBounce] != npos;
    text.hardWords = firstOf[kHard] != npos;
    text.softWords = firstOf[kSoft] != npos;
    text.delayNotice = firstOf[kDelay] != npos;
    const auto first = [&](Category a, Category b) { return firstOf[a] <= firstOf[b] ? a : b; };
    if (causeAt != npos) {
      text.specific = true;
      text.status = !causeEnhanced.empty() ? causeEnhanced : causeReply;
      text.statusAt = !causeEnhanced.empty() ? causeEnhancedAt : causeReplyAt;
      if (causeWordsAt[1] != npos) {
        text.kind = FailureKind::Soft;
        takeWords(causeWords[1], causeWordsAt[1]);
      } else if (!text.status.empty()) {
        // A connection or system failing for now softens a 5xx, unless the server also names
        // a refusal: a policy code (x.7.y) or words for a refused address or message.
        const bool policy = text.status.size() > 2 && text.status.substr(1, 3) == ".7.";
        text.kind = causeWordsAt[2] != npos && causeWordsAt[0] == npos && !policy ? FailureKind::Soft
                                                                                  : KindOfStatus(text.status);
        if (causeWordsAt[0] != npos || causeWordsAt[2] != npos) {
          const std::size_t slot = causeWordsAt[0] <= causeWordsAt[2] ? 0 : 2;
          takeWords(causeWords[slot], causeWordsAt[slot]);
        } else if (const Category words = first(kPermanentWords, kPassingWords); firstOf[words] != npos) {
          take(words);
        }
      } else if (causeWordsAt[2] != npos) {
        text.kind = FailureKind::Soft;
        takeWords(causeWords[2], causeWordsAt[2]);
      } else {
        text.kind = FailureKind::Hard;
        takeWords(causeWords[0], causeWordsAt[0]);
      }
    } else if (const Category words = first(kPermanentWords, first(kPassingWords, kDelay)); firstOf[words] != npos) {
      text.kind = words == kPermanentWords ? FailureKind::Hard : FailureKind::Soft;
      take(words);
    } else if (firstOf[kFailed] != npos) {
      // A notice that delivery failed, with no sign it will be tried again: given up for good.
      text.kind = FailureKind::Hard;
      take(kFailed);
    } else if (!success.empty()) {
      text.status = success;
      text.statusAt = successAt;
      text.delivered = true;
    }
    if (Failed()) {
      text.firstAt = failedAt;
      if (causeAt < text.firstAt) text.firstAt = causeAt;
    }
    return text;
  }
};

// Eight bytes at a time: which are letters, digits, line breaks and the like, as the top bit of
// each byte, so a passage is read a word, not a byte, at a time.
namespace swar {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHigh = 0x8080808080808080u;
constexpr std::uint64_t kLow = 0x7F7F7F7F7F7F7F7Fu;

// Bytes below 0x80 whose value lies in [lo, hi].
constexpr std::uint64_t InRange(std::uint64_t x, unsigned lo, unsigned hi) noexcept {
  const std::uint64_t low = x & kLow;
  const std::uint64_t atLeast = (low + kOnes * (0x80 - lo)) & kHigh;
  const std::uint64_t above = (low + kOnes * (0x7F - hi)) & kHigh;
  return ~x & kHigh & atLeast & ~above;
}

// Bytes equal to `c`.
constexpr std::uint64_t Equal(std::uint64_t x, unsigned char c) noexcept {
  const std::uint64_t t = x ^ (kOnes * c);
  return ~(((t & kLow) + kLow) | t | kLow);
}

// CR and LF bytes.
constexpr std::uint64_t Breaks(std::uint64_t x) noexcept { return Equal(x, '\n') | Equal(x, '\r'); }

// Eight bytes from `p`, the first lowest.
inline std::uint64_t Load(const char* p) noexcept {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The byte index of the lowest, and of the highest, flagged byte; WordAt and Load put the first
// byte lowest.
inline unsigned First(std::uint64_t mask) noexcept { return static_cast<unsigned>(std::countr_zero(mask)) / 8; }
inline unsigned Last(std::uint64_t mask) noexcept { return static_cast<unsigned>(63 - std::countl_zero(mask)) / 8; }
static_assert(std::endian::native == std::endian::little, "WordAt's byte order");

}  // namespace swar

bool IsJoined(char c) noexcept { return IsLetter(c) || IsDigit(c) || c == '.' || c == '@' || c == '/' || c == '_'; }

class PassageReader {
 public:
  PassageReader(std::string_view text, std::size_t begin, const PassageLimits& limits)
      : text_(text), begin_(begin), end_(limits.end < text.size() ? limits.end : text.size()), limits_(limits) {}

  FailureText Read(std::size_t& stop) {
    stop_ = end_;
    lastBlank_ = begin_ == 0;
    if (begin_ < end_ && OpenLine(begin_)) Scan();
    stop = stop_;
    return gathered_.Result();
  }

 private:
  // Reads the events of the passage in order: word starts, digit runs and line breaks.
  void Scan() {
    bool alnumBefore = begin_ > 0 && IsJoined(text_[begin_ - 1]);
    bool digitOrDotBefore = begin_ > 0 && (IsDigit(text_[begin_ - 1]) || text_[begin_ - 1] == '.');
    for (std::size_t base = begin_; base < end_; base += 8) {
      const std::uint64_t x = WordAt(text_, base);
      const std::uint64_t letters = swar::InRange(x | 0x2020202020202020u, 'a', 'z');
      const std::uint64_t digits = swar::InRange(x, '0', '9');
      const std::uint64_t breaks = swar::Breaks(x);
      const std::uint64_t alnum = letters | digits;
      const std::uint64_t digitOrDot = digits | swar::Equal(x, '.');
      // A word starts after anything but a letter, a digit, or the dot, at sign, slash or
      // underscore inside an address, a host name or a link.
      const std::uint64_t joined = alnum | swar::Equal(x, '.') | swar::Equal(x, '@') | swar::Equal(x, '/') |
                                   swar::Equal(x, '_');
      const std::uint64_t wordStarts = letters & ~((joined << 8) | (alnumBefore ? 0x80u : 0u));
      const std::uint64_t digitStarts = digits & ~((digitOrDot << 8) | (digitOrDotBefore ? 0x80u : 0u));
      alnumBefore = (joined >> 56) != 0;
      digitOrDotBefore = (digitOrDot >> 56) != 0;
      std::uint64_t events = wordStarts | digitStarts | breaks;
      if (end_ - base < 8) events &= (std::uint64_t{1} << (8 * (end_ - base))) - 1;
      while (events) {
        const std::size_t at = base + swar::First(events);
        events &= events - 1;
        if (at < resume_) continue;
        const char c = text_[at];
        if (IsLineBreak(c)) {
          if (!CloseLine(at)) return;
        } else if (IsDigit(c)) {
          gathered_.AddDigits(text_, at);
        } else {
          const auto [first, last] = kIndex.At(text_, at);
          for (const std::uint16_t* candidate = first; candidate != last; ++candidate) {
            if (MatchEnd(text_, at, kPhrases[*candidate].words) == std::string_view::npos) continue;
            if (kPhrases[*candidate].counted && !AfterCount(text_, at)) continue;
            if (kPhrases[*candidate].category == kMarker) {
              marker_ = marker_ || IsMarkerLine(text_, line_, LineEnd(text_, at, at + 256), at);
            } else {
              gathered_.AddPhrase(*candidate, at);
            }
          }
        }
      }
    }
  }

  // The line starting at `at`; false when the passage ends before it.
  bool OpenLine(std::size_t at) {
    std::size_t first = at;
    while (first < end_ && IsIndent(text_[first])) ++first;
    if (first >= end_ || IsLineBreak(text_[first])) {
      lastBlank_ = true;
      gathered_.EndCause(at);
      return true;
    }
    if (first == at) gathered_.EndCause(at);
    if (lastBlank_ && at != begin_) {
      if (++paragraphs_ > limits_.paragraphs) return Stop(at);
      if (first == at && StartsOriginalHeader(text_.substr(at)) && (!limits_.originalNeedsFailure || gathered_.Failed())) {
        return Stop(at);
      }
    }
    lastBlank_ = false;
    line_ = at;
    marker_ = false;
    return true;
  }

  // The line break at `at` ends a line; false when the passage ends with it.
  bool CloseLine(std::size_t at) {
    if (marker_) return Stop(line_);
    const std::size_t next = NextLine(text_, at);
    resume_ = next;
    if (next >= end_) return true;
    if (!OpenLine(next)) return false;
    return !(limits_.untilKnown && gathered_.Known(next)) || Stop(next);
  }

  bool Stop(std::size_t at) {
    stop_ = at;
    return false;
  }

  std::string_view text_;
  std::size_t begin_;
  std::size_t end_;
  const PassageLimits& limits_;
  Gathered gathered_;
  std::size_t stop_ = 0;
  std::size_t line_ = 0;    // where the current line begins
  std::size_t resume_ = 0;  // events before this belong to a line break already read
  int paragraphs_ = 0;
  bool lastBlank_ = false;
  bool marker_ = false;
};

std::string_view Trimmed(std::string_view text) noexcept {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool Is(std::string_view name, std::string_view lowered) noexcept { return platform::EqualsIgnoringAsciiCase(name, lowered); }

// The delivery status a Status field's value starts with: "5.1.1", "4.2.2", "2.0.0".
std::string_view StatusValueAt(std::string_view text, std::size_t at, std::size_t end) noexcept {
  while (at < end && IsIndent(text[at])) ++at;
  std::size_t stop = at;
  int dots = 0;
  while (stop < end && (IsDigit(text[stop]) || text[stop] == '.')) dots += text[stop++] == '.';
  const std::string_view value = text.substr(at, stop - at);
  if (dots != 2 || value.size() < 5 || value[1] != '.' || value.back() == '.') return {};
  return value;
}

}  // namespace

StatusBlock ReadStatusBlock(std::string_view text, std::size_t lineBegin) {
  constexpr int kLongestBlock = 16;
  constexpr std::size_t kBlockReach = 4096;
  const std::size_t limit = std::min(text.size(), lineBegin + kBlockReach);
  std::string_view action;
  std::string_view status;
  std::size_t statusLine = FailureText::npos;
  std::size_t diagnosticBegin = FailureText::npos;
  std::size_t diagnosticEnd = FailureText::npos;
  std::size_t at = NextLine(text, LineEnd(text, lineBegin, limit));
  for (int line = 0; line < kLongestBlock && at < limit; ++line) {
    const std::size_t end = LineEnd(text, at, limit);
    if (IsBlankLine(text.substr(at, end - at))) break;
    const std::string_view name = FieldNameAt(text, at);
    const std::size_t value = at + name.size() + 1;
    if (!name.empty()) {
      if (diagnosticBegin != FailureText::npos && diagnosticEnd == FailureText::npos) diagnosticEnd = at;
      const char first = Lower(name[0]);  // each name compared only with the one it may be
      if (first == 'f' && Is(name, "final-recipient")) break;
      if (first == 'a' && Is(name, "action")) {
        action = Trimmed(text.substr(value, end - value));
      } else if (first == 's' && Is(name, "status")) {
        status = StatusValueAt(text, value, end);
        statusLine = at;
      } else if (first == 'd' && Is(name, "diagnostic-code")) {
        diagnosticBegin = at;
      }
    }
    at = NextLine(text, end);
  }
  if (diagnosticBegin != FailureText::npos && diagnosticEnd == FailureText::npos) diagnosticEnd = at;

  StatusBlock block;
  if (Is(action, "delivered") || Is(action, "relayed") || Is(action, "expanded") ||
      (!status.empty() && status.front() == '2')) {
    block.delivered = true;
    return block;
  }
  FailureText diagnostic;
  if (diagnosticBegin != FailureText::npos) {
    PassageLimits limits;
    limits.end = diagnosticEnd;
    limits.originalNeedsFailure = false;
    std::size_t stop = 0;
    diagnostic = ReadPassage(text, diagnosticBegin, limits, stop);
  }
  // The Status field, unless it is the catch-all 5.0.0 and the server's own words say more.
  if (Is(action, "delayed") || diagnostic.softWords) {
    block.kind = FailureKind::Soft;
  } else if (!status.empty() && !(status == "5.0.0" && diagnostic.specific)) {
    block.kind = KindOfStatus(status);
  } else {
    block.kind = diagnostic.kind;
  }
  block.status = status.empty() ? diagnostic.status : status;
  block.reason = diagnostic.phrase;
  block.diagnosticAt = diagnosticBegin != FailureText::npos ? diagnosticBegin : statusLine;
  return block;
}

FailureKind KindOfStatus(std::string_view status) noexcept {
  if (status.empty()) return FailureKind::None;
  if (status.front() == '4') return FailureKind::Soft;
  if (status.front() != '5') return FailureKind::None;
  if (status.size() == 3) return status == "552" ? FailureKind::Soft : FailureKind::Hard;
  // x.2.2 mailbox full, x.2.3 message over the mailbox's limit, x.3.1 mail system full, x.3.5
  // system misconfigured, x.4.2 bad connection, x.4.3 directory server failure, x.4.5
  // congestion, x.4.6 routing loop, x.4.7 delivery time expired.
  if (status.size() != 5) return FailureKind::Hard;
  const char subject = status[2];
  const char detail = status[4];
  const bool passing = (subject == '2' && (detail == '2' || detail == '3')) ||
                       (subject == '3' && (detail == '1' || detail == '5')) ||
                       (subject == '4' && detail >= '2' && detail <= '7' && detail != '4');
  return passing ? FailureKind::Soft : FailureKind::Hard;
}

std::size_t LineEnd(std::string_view text, std::size_t at, std::size_t end) noexcept {
  if (end > text.size()) end = text.size();
  // Most lines are short: eight bytes at a time first, then many at a time by memchr, the first
  // LF and the first CR before it.
  constexpr std::size_t kShortLine = 64;
  const char* const data = text.data();
  for (const std::size_t shortEnd = std::min(end, at + kShortLine); at + 8 <= shortEnd; at += 8) {
    if (const std::uint64_t breaks = swar::Breaks(swar::Load(data + at))) return at + swar::First(breaks);
  }
  if (at >= end) return end;
  const void* const lf = std::memchr(data + at, '\n', end - at);
  const std::size_t lineFeed = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : end;
  const void* const cr = std::memchr(data + at, '\r', lineFeed - at);
  return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : lineFeed;
}

std::string_view FieldNameAt(std::string_view text, std::size_t at) noexcept {
  constexpr std::size_t kLongestName = 40;
  // Letters, digits and the hyphen, by byte: one look-up a character.
  static constexpr auto kNameChar = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = IsLetter(static_cast<char>(c)) || IsDigit(static_cast<char>(c)) || c == '-';
    return table;
  }();
  if (at >= text.size() || !IsLetter(text[at])) return {};
  const std::size_t limit = std::min(text.size(), at + kLongestName + 1);
  std::size_t end = at + 1;
  while (end < limit && kNameChar[static_cast<unsigned char>(text[end])]) ++end;
  if (end >= limit || text[end] != ':') return {};
  return text.substr(at, end - at);
}

std::size_t LineStart(std::string_view text, std::size_t at, std::size_t floor) noexcept {
  for (; at >= floor + 8; at -= 8) {
    const std::uint64_t breaks = swar::Breaks(swar::Load(text.data() + at - 8));
    if (breaks) return at - 8 + swar::Last(breaks) + 1;
  }
  while (at > floor && !IsLineBreak(text[at - 1])) --at;
  return at;
}

std::size_t NextLine(std::string_view text, std::size_t lineEnd) noexcept {
  if (lineEnd >= text.size()) return text.size();
  if (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n') return lineEnd + 2;
  return lineEnd + 1;
}

bool IsBlankLine(std::string_view line) noexcept {
  for (const char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

FailureText ReadPassage(std::string_view text, std::size_t begin, const PassageLimits& limits, std::size_t& stop) {
  PassageReader reader(text, begin, limits);
  return reader.Read(stop);
}

}  // namespace qor::engine
