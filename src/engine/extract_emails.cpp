#include "engine/extract_emails.h"

#include <array>
#include <new>
#include <set>

#include "engine/address_compare.h"

namespace qor::engine {

namespace {

constexpr std::array<bool, 256> MakeAddressChars() {
  std::array<bool, 256> chars{};
  for (int c = '0'; c <= '9'; ++c) chars[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) chars[c] = chars[c - 'a' + 'A'] = true;
  chars['-'] = chars['.'] = chars['@'] = chars['_'] = true;
  return chars;
}

constexpr std::array<bool, 256> kAddressChars = MakeAddressChars();
constexpr std::size_t kMinimumLength = 5;

}  // namespace

bool IsAddressChar(char c) { return kAddressChars[static_cast<unsigned char>(c)]; }

std::string ExtractEMails(std::string_view Emails) {
  // Line breaks are separators like any other, so only the NUL rule changes what is scanned;
  // the text before and after the input acts as the framing separators would.
  const std::string_view text = Emails.substr(0, Emails.find('\0'));

  std::set<std::string, AddressTextLess> found;
  try {
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('@', from)) != std::string_view::npos;) {
      std::size_t begin = at;
      while (begin > 0 && IsAddressChar(text[begin - 1])) --begin;
      std::size_t end = at + 1;
      while (end < text.size() && IsAddressChar(text[end])) ++end;
      if (end - begin >= kMinimumLength) found.emplace(text.substr(begin, end - begin));
      from = end;
    }
  } catch (const std::bad_alloc&) {
    // Out of memory mid-scan: what was accepted so far is the result.
  }

  std::string result;
  for (const auto& address : found) {
    result += address;
    result += "\r\n";
  }
  return result;
}

}  // namespace qor::engine
