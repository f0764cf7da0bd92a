#include <locale.h>
#include <wctype.h>

#include <cstddef>

#include "platform/case_blind.h"
#include "platform/utf8.h"

namespace qor::platform {
namespace {

// The C.UTF-8 locale knows the case of every script whatever locale the process runs in; without
// it, only A to Z have a case.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// The code point at `at`, moving `at` past it; a byte that is no UTF-8 stands for itself,
// negated so that it never equals a character.
long NextChar(std::string_view text, std::size_t& at) {
  const Utf8Char c = DecodeUtf8(text, at);
  if (c.size == 0) return -static_cast<long>(text[at++] & 0xFF) - 1;
  at += c.size;
  return static_cast<long>(c.code);
}

long Upper(long code) {
  if (code < 0) return code;
  if (const locale_t locale = CaseLocale(); locale != static_cast<locale_t>(nullptr)) {
    return static_cast<long>(towupper_l(static_cast<wint_t>(code), locale));
  }
  return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (Upper(NextChar(a, i)) != Upper(NextChar(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

}  // namespace qor::platform
