#include <locale.h>
#include <wctype.h>

#include <cstddef>

#include "platform/case_blind.h"

namespace qor::platform {
namespace {

// The C.UTF-8 locale knows the case of every script whatever locale the process runs in; without
// it, only A to Z have a case.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// The code point at `at` and its length; a byte that is no UTF-8 stands for itself, negated so
// that it never equals a character.
long NextChar(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t size = 0;
  if (lead < 0x80) {
    size = 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
  }
  if (size == 0 || text.size() - at < size) return -static_cast<long>(text[at++] & 0xFF) - 1;
  long code = size == 1 ? lead : lead & (0x7F >> size);
  for (std::size_t i = 1; i < size; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return -static_cast<long>(text[at++] & 0xFF) - 1;
    code = (code << 6) | (next & 0x3F);
  }
  at += size;
  return code;
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
