#include "engine/extract_emails.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>

#include "engine/address_compare.h"
#include "engine/text.h"

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

// CaseBlindEqual for address text, eight bytes at a time: among address characters, setting bit
// 0x20 changes only A to Z, into a to z.
bool SameAddress(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size(); at += 8) {
    if (FoldedWord(a, at) != FoldedWord(b, at)) return false;
  }
  return true;
}

constexpr std::size_t kFree = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kInitialSlots = 64;  // a power of two

}  // namespace

bool IsAddressChar(char c) { return kAddressChars[static_cast<unsigned char>(c)]; }

const std::vector<std::string_view>& AddressExtractor::Extract(std::string_view Emails) {
  found_.clear();
  slots_.assign(kInitialSlots, kFree);
  // Line breaks are separators like any other, so only the NUL rule changes what is scanned;
  // the text before and after the input acts as the framing separators would.
  const std::string_view text = Emails.substr(0, Emails.find('\0'));
  try {
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('@', from)) != std::string_view::npos;) {
      std::size_t begin = at;
      while (begin > 0 && IsAddressChar(text[begin - 1])) --begin;
      std::size_t end = at + 1;
      while (end < text.size() && IsAddressChar(text[end])) ++end;
      if (end - begin >= kMinimumLength) AddIfNew(text.substr(begin, end - begin));
      from = end;
    }
  } catch (const std::bad_alloc&) {
    // Out of memory mid-scan: what was accepted so far is the result.
  }
  // No two differ only in letter case, so no two are equal in this order.
  std::sort(found_.begin(), found_.end(), AddressTextLess());
  return found_;
}

void AddressExtractor::AddIfNew(std::string_view address) {
  if (2 * (found_.size() + 1) > slots_.size()) Grow();
  std::size_t& slot = slots_[SlotOf(address)];
  if (slot != kFree) return;
  found_.push_back(address);
  slot = found_.size() - 1;
}

std::size_t AddressExtractor::SlotOf(std::string_view address) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = CaseBlindHash()(address) & mask;
  while (slots_[slot] != kFree && !SameAddress(found_[slots_[slot]], address)) slot = (slot + 1) & mask;
  return slot;
}

void AddressExtractor::Grow() {
  slots_.assign(2 * slots_.size(), kFree);
  for (std::size_t index = 0; index < found_.size(); ++index) slots_[SlotOf(found_[index])] = index;
}

std::string ExtractEMails(std::string_view Emails) {
  AddressExtractor extractor;
  const auto& found = extractor.Extract(Emails);
  std::size_t size = 0;
  for (const auto address : found) size += address.size() + 2;
  std::string result;
  result.reserve(size);
  for (const auto address : found) {
    result += address;
    result += "\r\n";
  }
  return result;
}

}  // namespace qor::engine
