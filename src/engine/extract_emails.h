#pragma once

#include <string>
#include <string_view>

namespace qor::engine {

// True for the 66 bytes an address is made of: "-", ".", digits, "@", letters and "_".
bool IsAddressChar(char c);

// Every address in `Emails`: each maximal run of address characters that holds an at sign
// and has 5 or more characters, once ignoring letter case (the form met first wins), sorted
// by CompareAddressText, with CR LF after every line. Nothing after a NUL is scanned.
std::string ExtractEMails(std::string_view Emails);

}  // namespace qor::engine
