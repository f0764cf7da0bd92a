#pragma once

// The errors Office's command-bar objects raise, with the texts a Visual Basic caller sees.

#include <string_view>

namespace qor::standin::office {

// E_FAIL, "Method 'Caption' of object '_CommandBarButton' failed": what every member of a deleted
// control raises, and what a refused call raises.
[[noreturn]] void ThrowMethodFailed(std::string_view member, std::string_view object);
// E_INVALIDARG, "Invalid procedure call or argument": an index or name that names nothing.
[[noreturn]] void ThrowInvalidArgument();

}  // namespace qor::standin::office
