#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace qor::engine {

// Removes every byte at or below the space from both ends.
std::string Trim(std::string_view text);

// Maps A to Z to a to z and leaves every other byte alone.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
using platform::LowerAsciiChar;

// Eight bytes of `text` from `at` on; bytes past the end read as spaces.
inline std::uint64_t WordAt(std::string_view text, std::size_t at) noexcept {
  std::uint64_t word = 0x2020202020202020u;
  if (text.size() - at >= sizeof word) {
    std::memcpy(&word, text.data() + at, sizeof word);  // one load
  } else {
    std::memcpy(&word, text.data() + at, text.size() - at);
  }
  return word;
}

// WordAt with bit 0x20 set in every byte, so that A to Z read as a to z.
inline std::uint64_t FoldedWord(std::string_view text, std::size_t at) noexcept {
  return WordAt(text, at) | 0x2020202020202020u;
}

// Text hashed and compared ignoring the case of A to Z. Both are transparent, so a set of
// strings is searched with a view, without a lower-cased copy of it. The hash reads eight bytes
// at a time; texts that differ only in other bytes that bit 0x20 maps alike merely collide.
struct CaseBlindHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept {
    std::uint64_t hash = text.size();
    for (std::size_t at = 0; at < text.size(); at += 8) hash = (hash ^ FoldedWord(text, at)) * 0x9e3779b97f4a7c15u;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
  }
};

struct CaseBlindEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return platform::EqualsIgnoringAsciiCase(a, b);
  }
};

}  // namespace qor::engine
