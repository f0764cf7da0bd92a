#include "platform/utf8.h"

namespace qor::platform {

Utf8Char DecodeUtf8(std::string_view text, std::size_t at) noexcept {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  const Utf8Char invalid{lead, 0};
  std::size_t size = 0;
  char32_t code = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2, code = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3, code = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    return invalid;
  }
  if (text.size() - at < size) return invalid;
  for (std::size_t i = 1; i < size; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return invalid;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return invalid;
  return {code, size};
}

}  // namespace qor::platform
