#pragma once

#include <cstddef>
#include <string_view>

namespace qor::engine {

// What a passage of a bounce says about a failure. Views point into the passage searched.
struct FailureText {
  std::string_view status;  // "5.1.1" or "550"; empty when the passage holds none
  std::string_view phrase;  // the MTA's words for it, e.g. "user unknown"; may be empty
  std::size_t at = 0;       // where the status, or else the phrase, begins
  bool temporary = false;   // a phrase that means the MTA will try again or the mailbox is full
  bool failure = false;     // the passage says some delivery failed, in any words
  std::size_t firstAt = std::string_view::npos;  // where the first of these signs begins
};

// Reads a lower-cased passage of a body: its first enhanced status code (2.x.x, 4.x.x, 5.x.x),
// else its first SMTP reply code (4xx, 5xx) standing as one, and the first phrase an MTA uses
// for a failure.
FailureText ReadFailureText(std::string_view lowered);

}  // namespace qor::engine
