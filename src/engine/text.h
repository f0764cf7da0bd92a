#pragma once

#include <string>
#include <string_view>

namespace qor::engine {

// Removes every byte at or below the space from both ends.
std::string Trim(std::string_view text);

// Maps A to Z to a to z and leaves every other byte alone.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);

}  // namespace qor::engine
