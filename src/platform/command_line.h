#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qor::platform {

// Splits the arguments part of a Windows command line (everything after the program name) the
// way the Microsoft C runtime since Visual C++ 2008 and CommandLineToArgvW do:
// - spaces and tabs outside double quotes separate arguments;
// - a double quote opens or closes a quoted part, so `"a b"c` is one argument `a bc` and `""` an
//   empty one;
// - 2n backslashes before a double quote give n backslashes and the quote acts as above, 2n+1 give
//   n backslashes and a literal quote; backslashes elsewhere are literal;
// - inside a quoted part, `""` gives a literal quote and the part stays open (the 2008 rule; older
//   runtimes closed it).
std::vector<std::string> SplitWindowsCommandLine(std::string_view arguments);

}  // namespace qor::platform
