#include "engine/xprocs.h"

namespace qor::engine {

std::string strToken(std::string& S, char Seperator) {
  const auto at = S.find(Seperator);
  if (at == std::string::npos) {
    std::string token;
    token.swap(S);
    return token;
  }
  std::string token = S.substr(0, at);
  S.erase(0, at + 1);
  return token;
}

int strTokenCount(std::string_view S, char Seperator) {
  // Same result as calling strToken on a copy until it yields an empty token, without the copies.
  int count = 0;
  while (!S.empty()) {
    const auto at = S.find(Seperator);
    if (at == 0) break;
    ++count;
    if (at == std::string_view::npos) break;
    S.remove_prefix(at + 1);
  }
  return count;
}

std::string strTokenAt(std::string_view S, char Seperator, int At) {
  if (At < 0) return {};
  std::size_t start = 0;
  for (int field = 0; field < At; ++field) {
    const auto at = S.find(Seperator, start);
    if (at == std::string_view::npos) return {};
    start = at + 1;
  }
  const auto end = S.find(Seperator, start);
  return std::string(S.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string strAddSlash(std::string_view S) {
  std::string result(S);
  if (strLastCh(S) != '\\') result += '\\';
  return result;
}

char strLastCh(std::string_view S) { return S.empty() ? '\0' : S.back(); }

}  // namespace qor::engine
