#include "engine/bounce_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qor::engine {

namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// A run of one to three digits at `at`: its length, 0 when there is none or a fourth follows.
std::size_t ShortNumberAt(std::string_view text, std::size_t at) noexcept {
  std::size_t length = 0;
  while (at + length < text.size() && IsDigit(text[at + length])) ++length;
  return length <= 3 ? length : 0;
}

// "5.1.1" standing alone: not part of an address, a version or a longer number.
std::string_view EnhancedStatusAt(std::string_view text, std::size_t at) noexcept {
  const char c = text[at];
  if (c != '2' && c != '4' && c != '5') return {};
  if (at > 0 && (IsDigit(text[at - 1]) || text[at - 1] == '.')) return {};
  std::size_t end = at + 1;
  for (int part = 0; part < 2; ++part) {
    if (end >= text.size() || text[end] != '.') return {};
    const std::size_t digits = ShortNumberAt(text, end + 1);
    if (digits == 0) return {};
    end += 1 + digits;
  }
  if (end < text.size() && text[end] == '.' && end + 1 < text.size() && IsDigit(text[end + 1])) return {};
  return text.substr(at, end - at);
}

// "550" as a reply code: after a separator, followed by a space or a hyphen.
std::string_view ReplyCodeAt(std::string_view text, std::size_t at) noexcept {
  const char c = text[at];
  if (c != '4' && c != '5') return {};
  if (at + 3 >= text.size() || !IsDigit(text[at + 1]) || !IsDigit(text[at + 2])) return {};
  if (text[at + 3] != ' ' && text[at + 3] != '-') return {};
  if (at > 0) {
    constexpr std::string_view kBefore = " \t\r\n(;:\"'<>[#=";
    if (kBefore.find(text[at - 1]) == std::string_view::npos) return {};
    if (text[at - 1] == ':' && at > 1 && IsDigit(text[at - 2])) return {};  // a time of day
  }
  return text.substr(at, 3);
}

// Phrases MTAs write for a mailbox that is full or a delivery they will try again or gave up
// trying in time.
constexpr std::array<std::string_view, 31> kTemporaryPhrases = {
    "mailbox full", "mailbox is full", "mailbox has exceeded", "mailbox size limit", "over quota",
    "overquota", "quota exceeded", "exceeded storage", "exceeds the quota", "exceed the quota",
    "quota exceed", "insufficient system storage", "disk full", "out of storage", "delayed",
    "will retry", "will be retried", "will continue trying", "not yet been delivered",
    "try again later", "temporarily", "temporary", "too long in the queue", "in the queue too long",
    "retry timeout exceeded", "retry time not reached", "delivery time expired", "message expired",
    "expired after", "could not be delivered within", "too many connections"};

// Phrases MTAs write for a delivery that failed for good.
constexpr std::array<std::string_view, 50> kPermanentPhrases = {
    "user unknown", "unknown user", "no such user", "no such mailbox", "no such recipient",
    "no such address", "unknown recipient", "recipient unknown", "recipient not found", "user not found",
    "mailbox not found", "mailbox unavailable", "mailbox is inactive", "mailbox disabled",
    "account disabled", "account has been disabled", "account is disabled", "does not exist",
    "doesn't exist", "invalid recipient", "invalid address", "invalid mailbox", "address rejected",
    "address unknown", "unknown address", "unknown local part", "unknown mailbox", "not a known user",
    "not listed in", "unrouteable", "unroutable", "host unknown", "host not found", "domain not found",
    "no mx", "not our customer", "relaying denied", "relay access denied", "failed permanently",
    "permanent failure", "permanent fatal", "permanent error", "is not a valid", "malformed address",
    "has been suspended", "account suspended", "no longer", "blocked", "spam", "denied"};

// Phrases that say a delivery failed without saying how.
constexpr std::array<std::string_view, 18> kFailurePhrases = {
    "could not be delivered", "couldn't be delivered", "undeliverable", "undelivered",
    "did not reach", "delivery failed", "delivery has failed", "failed recipient", "not delivered",
    "delivery to the following", "unable to deliver", "rejected", "refused", "returned mail",
    "fatal error", "non-delivery", "failure reason", "wasn't able to deliver"};

bool IsSpace(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>'; }

// Where `phrase` ends when it starts at `at`, a space in it standing for any run of spaces, line
// breaks and quoting marks, as MTAs wrap their paragraphs; npos when it does not match there.
std::size_t MatchEnd(std::string_view text, std::size_t at, std::string_view phrase) noexcept {
  for (const char c : phrase) {
    if (c == ' ') {
      if (at >= text.size() || !IsSpace(text[at])) return std::string_view::npos;
      while (at < text.size() && IsSpace(text[at])) ++at;
    } else {
      if (at >= text.size() || text[at] != c) return std::string_view::npos;
      ++at;
    }
  }
  return at;
}

// The first place `phrase` matches, and its length there.
std::pair<std::size_t, std::size_t> FindPhrase(std::string_view text, std::string_view phrase) noexcept {
  const std::string_view firstWord = phrase.substr(0, phrase.find(' '));
  for (std::size_t at = text.find(firstWord); at != std::string_view::npos; at = text.find(firstWord, at + 1)) {
    if (const std::size_t end = MatchEnd(text, at, phrase); end != std::string_view::npos) return {at, end - at};
  }
  return {std::string_view::npos, 0};
}

template <std::size_t N>
bool FindFirst(std::string_view lowered, const std::array<std::string_view, N>& phrases, std::string_view& phrase,
               std::size_t& at) {
  bool found = false;
  for (const std::string_view candidate : phrases) {
    const auto [where, length] = FindPhrase(lowered, candidate);
    if (where != std::string_view::npos && (!found || where < at)) {
      phrase = candidate;
      at = where;
      found = true;
    }
  }
  return found;
}

}  // namespace

FailureText ReadFailureText(std::string_view lowered) {
  FailureText text;
  std::string_view reply;
  std::size_t replyAt = 0;
  for (std::size_t at = 0; at < lowered.size(); ++at) {
    if (!IsDigit(lowered[at])) continue;
    if (const auto status = EnhancedStatusAt(lowered, at); !status.empty()) {
      text.status = status;
      text.at = at;
      break;
    }
    if (reply.empty()) {
      reply = ReplyCodeAt(lowered, at);
      replyAt = at;
    }
  }
  if (text.status.empty() && !reply.empty()) {
    text.status = reply;
    text.at = replyAt;
  }

  std::size_t phraseAt = 0;
  text.temporary = FindFirst(lowered, kTemporaryPhrases, text.phrase, phraseAt);
  if (!text.temporary) FindFirst(lowered, kPermanentPhrases, text.phrase, phraseAt);
  std::string_view failurePhrase;
  std::size_t failureAt = 0;
  const bool saysFailed = FindFirst(lowered, kFailurePhrases, failurePhrase, failureAt);
  text.failure = !text.status.empty() || !text.phrase.empty() || saysFailed;
  if (text.status.empty() && !text.phrase.empty()) text.at = phraseAt;
  if (!text.status.empty()) text.firstAt = text.at;
  if (!text.phrase.empty()) text.firstAt = std::min(text.firstAt, phraseAt);
  if (saysFailed) text.firstAt = std::min(text.firstAt, failureAt);
  return text;
}

}  // namespace qor::engine
