#pragma once

// The framework's own errors: a message and a numeric code (31101 and up). Through COM they
// become E_UNEXPECTED with the message as error information.

#include <stdexcept>
#include <string>

#include "com/com_error.h"

namespace qor::framework {

inline constexpr long kErrorPropertyEmpty = 31101;         // "The %s property cannot be empty."
inline constexpr long kErrorCommandBarName = 31102;        // "Illegal character in the %s commandbar name."
inline constexpr long kErrorUnregisterControls = 31103;    // "Can't unregister add-in controls."
inline constexpr long kErrorRegistrationCanceled = 31105;  // "The registration process has been canceled."
inline constexpr long kErrorEventsOwner = 31113;           // "The %s class cannot be contained in the %s class."

class AdxError : public std::runtime_error, public com::CodedError {
 public:
  AdxError(const std::string& message, long code) : std::runtime_error(message), code_(code) {}
  long ErrorCode() const noexcept override { return code_; }

 private:
  long code_;
};

// The message of the exception being handled, for DoError and COM error information.
std::string CurrentErrorMessage();

}  // namespace qor::framework
