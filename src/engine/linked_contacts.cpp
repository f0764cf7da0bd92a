#include "engine/linked_contacts.h"

#include "engine/xprocs.h"

namespace qor::engine {

namespace {

constexpr char kEscape = '%';
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// A space is escaped only at either end of a field, where a reader's trimming would take it.
bool NeedsEscape(unsigned char c, bool atEdge) {
  if (c == ' ') return atEdge;
  return c < ' ' || c == 0x7F || c == kEscape || c == ',' || c == ';' || c == ':';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "%XX" becomes its byte; a "%" not followed by two hex digits stays as it is.
std::string DecodeLinkedField(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kEscape && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace

std::string EncodeLinkedField(std::string_view text) {
  std::string encoded;
  encoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!NeedsEscape(byte, i == 0 || i + 1 == text.size())) {
      encoded += text[i];
      continue;
    }
    encoded += kEscape;
    encoded += kHexDigits[byte >> 4];
    encoded += kHexDigits[byte & 0xF];
  }
  return encoded;
}

std::vector<ContactGroup> SplitLinkedContacts(std::string_view column) {
  std::vector<ContactGroup> groups;
  const int groupCount = strTokenCount(column, ';');
  for (int g = 0; g < groupCount; ++g) {
    const std::string group = strTokenAt(column, ';', g);
    ContactGroup& contactGroup = groups.emplace_back();
    contactGroup.folderPath = DecodeLinkedField(strTokenAt(group, ':', 0));
    const std::string ids = strTokenAt(group, ':', 1);
    const int idCount = strTokenCount(ids, ',');
    for (int i = 0; i < idCount; ++i) contactGroup.entryIds.push_back(DecodeLinkedField(strTokenAt(ids, ',', i)));
  }
  return groups;
}

}  // namespace qor::engine
