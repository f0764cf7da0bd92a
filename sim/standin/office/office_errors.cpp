#include "standin/office/office_errors.h"

#include "com/com_error.h"

#include <string>

namespace qor::standin::office {

void ThrowMethodFailed(std::string_view member, std::string_view object) {
  throw com::ComError(E_FAIL, "Method '" + std::string(member) + "' of object '" + std::string(object) + "' failed");
}

void ThrowInvalidArgument() { throw com::ComError(E_INVALIDARG, "Invalid procedure call or argument"); }

}  // namespace qor::standin::office
