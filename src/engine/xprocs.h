#pragma once

// Splitting and joining of separated text, used wherever the engine stores lists in one string.

#include <string>
#include <string_view>

namespace qor::engine {

// Cuts the first token off `S`: the text before the first `Seperator` (which `S` loses
// as well), or all of `S` when there is none.
std::string strToken(std::string& S, char Seperator);

// How many tokens strToken yields before the first empty one.
int strTokenCount(std::string_view S, char Seperator);

// Field number `At` (from 0) of `S`; empty fields count as fields.
std::string strTokenAt(std::string_view S, char Seperator, int At);

// `S` ending in a backslash.
std::string strAddSlash(std::string_view S);

// The last character of `S`, or NUL when `S` is empty.
char strLastCh(std::string_view S);

}  // namespace qor::engine
