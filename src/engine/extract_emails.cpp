#include "engine/extract_emails.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <numeric>

#include "engine/address_chars.h"
#include "engine/address_compare.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

constexpr std::size_t kMinimumLength = 5;  // characters, not bytes

bool HasMinimumLength(std::string_view text) noexcept {
  constexpr std::size_t kLongestCharacter = 4;  // bytes of UTF-8
  if (text.size() >= kMinimumLength * kLongestCharacter) return true;
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count >= kMinimumLength;
}

// The run of address characters around the at sign at `at`, which ends at a separator, a glue
// character or a script boundary on either side.
struct Run {
  std::size_t begin;
  std::size_t end;
  bool glued;  // a glue character touches it: it is part of a longer token
};

constexpr std::array<bool, 256> MakeAsciiAddressBytes() {
  std::array<bool, 256> bytes{};
  for (std::size_t c = 0; c < detail::kAsciiKinds.size(); ++c) bytes[c] = detail::kAsciiKinds[c] == CharKind::Address;
  return bytes;
}

// ASCII address characters, the bulk of every run: they need no decoding and meet no script
// boundary.
constexpr std::array<bool, 256> kAsciiAddressBytes = MakeAsciiAddressBytes();

bool IsAsciiAddressByte(char c) { return kAsciiAddressBytes[static_cast<unsigned char>(c)]; }

Run RunAround(std::string_view text, std::size_t at) {
  Run run{at, at + 1, false};
  while (run.begin > 0 && IsAsciiAddressByte(text[run.begin - 1])) --run.begin;
  for (char32_t right = static_cast<unsigned char>(text[run.begin]); run.begin > 0;) {
    const TextChar c = CharBefore(text, run.begin);
    if (c.kind != CharKind::Address || IsScriptBoundary(c.code, right)) {
      run.glued = c.kind == CharKind::Glue;
      break;
    }
    run.begin -= c.size;
    right = c.code;
  }
  while (run.end < text.size() && IsAsciiAddressByte(text[run.end])) ++run.end;
  for (char32_t left = static_cast<unsigned char>(text[run.end - 1]); run.end < text.size();) {
    const TextChar c = CharAt(text, run.end);
    if (c.kind != CharKind::Address || IsScriptBoundary(left, c.code)) {
      run.glued = run.glued || c.kind == CharKind::Glue;
      break;
    }
    run.end += c.size;
    left = c.code;
  }
  return run;
}

// The run without the full stops and quotes around it.
std::string_view Unpunctuated(std::string_view run) {
  while (!run.empty() && IsEdgePunctuation(run.front())) run.remove_prefix(1);
  while (!run.empty() && IsEdgePunctuation(run.back())) run.remove_suffix(1);
  return run;
}

constexpr std::size_t kFree = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kInitialSlots = 64;  // a power of two

}  // namespace

const std::vector<std::string_view>& AddressExtractor::Extract(std::string_view Emails) {
  found_.clear();
  occurrences_.clear();
  slots_.assign(kInitialSlots, kFree);
  // Line breaks are separators like any other, so only the NUL rule changes what is scanned;
  // the text before and after the input acts as the framing separators would.
  const std::string_view text = Emails.substr(0, Emails.find('\0'));
  try {
    occurrences_.reserve(kInitialSlots);  // kept from text to text: an address met again costs nothing
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('@', from)) != std::string_view::npos;) {
      const Run run = RunAround(text, at);
      from = run.end;
      if (run.glued) continue;  // no address is cut out of a longer token
      const std::string_view address = Unpunctuated(text.substr(run.begin, run.end - run.begin));
      if (HasMinimumLength(address)) {
        occurrences_.push_back({static_cast<std::size_t>(address.data() - text.data()), AddIfNew(address)});
      }
    }
  } catch (const std::bad_alloc&) {
    // Out of memory mid-scan: what was accepted so far is the result.
  }
  try {
    SortFound();
  } catch (const std::bad_alloc&) {
    // No room to renumber: the addresses still come sorted, without their places.
    occurrences_.clear();
    std::sort(found_.begin(), found_.end(), AddressTextLess());
  }
  return found_;
}

std::size_t AddressExtractor::AddIfNew(std::string_view address) {
  if (2 * (found_.size() + 1) > slots_.size()) Grow();
  std::size_t& slot = slots_[SlotOf(address)];
  if (slot == kFree) {
    found_.push_back(address);
    slot = found_.size() - 1;
  }
  return slot;
}

void AddressExtractor::SortFound() {
  // Everything that allocates comes first, so found_ is untouched when it throws.
  order_.resize(found_.size());
  rank_.resize(found_.size());
  sorted_.clear();
  sorted_.reserve(found_.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  // No two differ only in letter case, so no two are equal in this order.
  const AddressTextLess less;
  std::sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return less(found_[a], found_[b]); });
  for (std::size_t rank = 0; rank < order_.size(); ++rank) {
    rank_[order_[rank]] = rank;
    sorted_.push_back(found_[order_[rank]]);
  }
  found_.swap(sorted_);
  for (auto& occurrence : occurrences_) occurrence.address = rank_[occurrence.address];
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
