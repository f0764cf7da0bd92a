#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The words bounces use for a failure, its cause and the quoted original, for bounce_text.cpp.
namespace qor::engine::bounce_phrases {

enum Category : std::uint8_t {
  kFailed,          // something failed, not how: "undeliverable", "could not be delivered"
  kPermanentWords,  // the MTA calls it final: "permanent error", "failed permanently", "rejected"
  kPassingWords,    // passing, in general words: "temporarily", "try again later"
  kDelay,           // a warning that the MTA keeps trying: "delayed", "deferred", "will retry"
  kHard,            // the address or the message is refused: "user unknown", "blocked", "spam"
  kSoft,            // a passing condition of the mailbox or the queue: "mailbox full", "over quota", "expired"
  kBusy,            // the connection or the system failed for now: "timed out", "service unavailable"
  kMarker,          // announces the quoted original: "original message", "copy of the message"
  kNotBounce,       // an auto-reply or an abuse report: "out of office", "abuse report"
};

struct Phrase {
  std::string_view words;  // lower case; a space stands for any run of spaces, line breaks and '>'
  Category category;       // a final '*' lets the last word run on ("undeliver*")
  bool counted = false;    // only after a count of two or more ("failed 20 attempts")
};

// Written from the wording of the common MTAs (Postfix, Sendmail, Exim, qmail, Exchange, Domino,
// Gmail, Yahoo and the like) and the SMTP reply texts of RFC 5321 and RFC 3463.
inline constexpr Phrase kPhrases[] = {
    // Something failed.
    {"undeliver*", kFailed}, {"undelivered", kFailed}, {"could not be delivered", kFailed},
    {"couldn't be delivered", kFailed}, {"cannot be delivered", kFailed}, {"can't be delivered", kFailed},
    {"not be delivered", kFailed}, {"was not delivered", kFailed}, {"not delivered", kFailed},
    {"did not reach", kFailed}, {"delivery failed", kFailed}, {"delivery has failed", kFailed},
    {"delivery failure", kFailed}, {"delivery problem*", kFailed}, {"delivery error", kFailed},
    {"failed recipient*", kFailed}, {"unable to deliver", kFailed}, {"able to deliver", kFailed},
    {"could not deliver", kFailed}, {"couldn't deliver", kFailed}, {"cannot deliver", kFailed},
    {"failed to deliver", kFailed}, {"error occurred", kFailed}, {"error has occurred", kFailed},
    {"returned mail", kFailed}, {"returned to sender", kFailed}, {"non-delivery", kFailed},
    {"nondelivery", kFailed}, {"failure notice", kFailed}, {"failure reason", kFailed},
    {"fatal error*", kFailed}, {"following recipient*", kFailed}, {"following address*", kFailed},
    {"following destination*", kFailed}, {"error", kFailed}, {"errors", kFailed}, {"failed", kFailed},
    {"failure", kFailed}, {"bounced", kFailed}, {"not accepted", kFailed},
    // Final, in general words.
    {"permanent*", kPermanentWords}, {"rejected", kPermanentWords}, {"refused", kPermanentWords},
    {"denied", kPermanentWords}, {"not allowed", kPermanentWords}, {"not permitted", kPermanentWords},
    {"will not continue", kPermanentWords}, {"giving up", kPermanentWords}, {"given up", kPermanentWords},
    // Passing, in general words.
    {"delay", kPassingWords}, {"temporar*", kPassingWords}, {"try again later", kPassingWords},
    {"try later", kPassingWords}, {"retrying", kPassingWords},
    // Still trying.
    {"delayed", kDelay}, {"deferred", kSoft}, {"warning only", kDelay}, {"warning message only", kDelay},
    {"do not need to resend", kDelay}, {"keep trying", kDelay}, {"will retry", kDelay},
    {"will be retried", kDelay}, {"will continue trying", kDelay}, {"still trying", kDelay},
    {"not yet been delivered", kDelay}, {"still undelivered", kDelay}, {"attempts will continue", kDelay},
    // The address, its domain or the message is refused.
    {"user unknown", kHard}, {"unknown user", kHard}, {"unknown recipient", kHard},
    {"recipient unknown", kHard}, {"unknown address", kHard}, {"address unknown", kHard},
    {"unknown local", kHard}, {"unknown mailbox", kHard}, {"mailbox unknown", kHard},
    {"unknown account", kHard}, {"no such user", kHard}, {"no such mailbox", kHard},
    {"no such recipient", kHard}, {"no such address", kHard}, {"no such account", kHard},
    {"no such person", kHard}, {"no such domain", kHard}, {"no mailbox", kHard}, {"not found", kHard},
    {"does not exist", kHard}, {"doesn't exist", kHard}, {"not exist", kHard}, {"non-existent", kHard},
    {"nonexistent", kHard}, {"invalid", kHard}, {"invalid recipient", kHard}, {"invalid address", kHard},
    {"invalid mailbox", kHard}, {"invalid user", kHard}, {"invalid e-mail", kHard}, {"invalid email", kHard},
    {"not a valid", kHard}, {"is not valid", kHard}, {"bad recipient", kHard}, {"bad address", kHard},
    {"bad destination", kHard}, {"illegal host", kHard}, {"illegal address", kHard}, {"malformed", kHard},
    {"unrouteable", kHard}, {"unroutable", kHard}, {"host unknown", kHard}, {"unknown host", kHard},
    {"unknown domain", kHard}, {"domain unknown", kHard}, {"no mx", kHard}, {"mx record*", kHard},
    {"name or service not known", kHard}, {"not our customer", kHard}, {"not a known user", kHard},
    {"not recognized", kHard}, {"not recognised", kHard}, {"not listed", kHard}, {"no longer", kHard},
    {"not accepting mail", kHard}, {"does not accept mail", kHard}, {"mailbox unavailable", kHard},
    {"mailbox is unavailable", kHard}, {"mailbox not available", kHard}, {"disabled", kHard},
    {"deactivated", kHard}, {"inactive", kHard}, {"suspended", kHard}, {"has moved", kHard},
    {"relaying", kHard}, {"relay access", kHard}, {"relay denied", kHard}, {"relay not", kHard},
    {"to relay", kHard}, {"not relay", kHard}, {"blocked", kHard}, {"block list", kHard},
    {"blocklist*", kHard}, {"blacklist*", kHard}, {"black list", kHard}, {"listed on", kHard},
    {"listed in", kHard}, {"spam*", kHard}, {"junk mail", kHard}, {"policy", kHard}, {"prohibited", kHard},
    {"forbidden", kHard}, {"virus*", kHard}, {"malware", kHard}, {"infected", kHard}, {"dmarc", kHard},
    {"unauthenticated", kHard}, {"not authorized", kHard}, {"not authorised", kHard},
    {"authentication", kHard}, {"reputation", kHard}, {"too large", kHard}, {"too big", kHard},
    {"message size", kHard}, {"message length", kHard}, {"exceeds the maximum", kHard},
    {"maximum message size", kHard}, {"syntax error", kHard}, {"not a member", kHard},
    // A passing condition of the mailbox or the queue: full, expired.
    {"mailbox full", kSoft}, {"mailbox is full", kSoft}, {"mailbox has exceeded", kSoft},
    {"mailbox exceeds", kSoft}, {"mailbox size", kSoft}, {"mailbox would exceed", kSoft},
    {"full mailbox", kSoft}, {"mailbox is over", kSoft}, {"is full", kSoft}, {"inbox full", kSoft}, {"quota*", kSoft}, {"overquota", kSoft},
    {"exceeded storage", kSoft}, {"storage allocation", kSoft}, {"insufficient system storage", kSoft},
    {"insufficient storage", kSoft}, {"disk full", kSoft}, {"out of storage", kSoft},
    {"not enough space", kSoft}, {"no space left", kSoft}, {"too much mail", kSoft}, {"expired", kSoft},
    {"retry timeout", kSoft}, {"retry time", kSoft}, {"could not be delivered within", kSoft},
    {"too long in the queue", kSoft}, {"in the queue too long", kSoft}, {"in queue too long", kSoft},
    {"failing for a long time", kSoft}, {"been failing", kSoft}, {"maximum time", kSoft},
    {"timed out", kBusy}, {"timeout", kBusy}, {"time out", kBusy}, {"connection refused", kBusy},
    {"connection reset", kBusy}, {"connection lost", kBusy}, {"lost connection", kBusy},
    {"connection closed", kBusy}, {"connection dropped", kBusy}, {"could not connect", kBusy},
    {"couldn't connect", kBusy}, {"unable to connect", kBusy}, {"cannot connect", kBusy},
    {"can't connect", kBusy}, {"network error", kBusy}, {"network is unreachable", kBusy},
    {"no route to host", kBusy}, {"mail loop", kBusy}, {"loop detected", kBusy}, {"routing loop", kBusy},
    {"loops back", kBusy}, {"too many hops", kBusy}, {"hop count", kBusy}, {"system error", kBusy},
    {"internal error", kBusy}, {"local error", kBusy}, {"temporary failure", kSoft},
    {"temporary error", kSoft}, {"too many connections", kBusy}, {"too many concurrent", kBusy},
    {"rate limit", kBusy}, {"resources temporarily", kBusy}, {"out of memory", kBusy}, {"retries", kSoft},
    {"for too long", kSoft}, {"aborted after", kSoft},
    {"attempts", kSoft, true}, {"repeated attempts", kSoft}, {"maximum delivery attempts", kSoft}, {"unsuccessful delivery attempts", kSoft},
    {"not responding", kBusy}, {"not reachable", kBusy}, {"unreachable", kBusy},
    {"queue period", kSoft}, {"delivered within", kSoft}, {"socket error", kBusy},
    {"service unavailable", kBusy}, {"service not available", kBusy}, {"currently unavailable", kBusy},
    {"too many recipients", kSoft}, {"too many messages", kSoft},
    // The quoted original begins.
    {"original message", kMarker}, {"returned message", kMarker}, {"copy of the message", kMarker},
    {"copy of your message", kMarker}, {"copy of the original", kMarker}, {"original mail", kMarker},
    {"unsent message", kMarker}, {"undelivered message", kMarker}, {"below this line", kMarker},
    {"headers of the original", kMarker}, {"header of the original", kMarker}, {"original headers", kMarker},
    {"message headers follow", kMarker},
    // Not a bounce.
    {"out of the office", kNotBounce}, {"out of office", kNotBounce}, {"on vacation", kNotBounce},
    {"automatic reply", kNotBounce}, {"auto-reply", kNotBounce}, {"autoreply", kNotBounce},
    {"auto reply", kNotBounce}, {"away from the office", kNotBounce}, {"abuse report", kNotBounce},
    {"abuse complaint", kNotBounce}, {"feedback-type", kNotBounce},
};
inline constexpr std::size_t kPhraseCount = sizeof kPhrases / sizeof kPhrases[0];

}  // namespace qor::engine::bounce_phrases
