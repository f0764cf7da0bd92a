#include "engine/address_compare.h"

#include <array>
#include <cstddef>

namespace qor::engine {

namespace {

constexpr int kIgnored = 0;

constexpr bool IsHyphenOrApostrophe(char c) { return c == '-' || c == '\''; }

// First-level weight of each byte; 0 for the hyphen and the apostrophe, which only break ties.
constexpr std::array<int, 256> MakeWeights() {
  std::array<int, 256> weights{};
  int next = 1;
  weights['%'] = next++;
  weights['.'] = next++;
  weights['@'] = next++;
  weights['_'] = next++;
  weights['+'] = next++;
  for (int c = '0'; c <= '9'; ++c) weights[c] = next++;
  for (int c = 0; c < 26; ++c) weights['a' + c] = weights['A' + c] = next + c;
  next += 26;
  for (int c = 0; c < 256; ++c) {
    if (weights[c] == 0 && !IsHyphenOrApostrophe(static_cast<char>(c))) weights[c] = next + c;
  }
  return weights;
}

constexpr std::array<int, 256> kWeights = MakeWeights();

int Weight(char c) { return kWeights[static_cast<unsigned char>(c)]; }

int Sign(int value) { return (value > 0) - (value < 0); }

// Compares the weighted characters, skipping hyphens.
int ComparePrimary(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    while (i < a.size() && Weight(a[i]) == kIgnored) ++i;
    while (j < b.size() && Weight(b[j]) == kIgnored) ++j;
    if (i == a.size() || j == b.size()) return (i < a.size()) - (j < b.size());
    if (const int diff = Weight(a[i]) - Weight(b[j]); diff != 0) return Sign(diff);
    ++i;
    ++j;
  }
}

// Between texts with equal weighted characters, the hyphens and apostrophes decide: each stands
// for its place among the weighted characters, an earlier one weighs more, at the same place a
// hyphen weighs more than an apostrophe, and a text with more of them after an equal start weighs
// more.
int CompareHyphens(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  std::size_t placeA = 0;
  std::size_t placeB = 0;
  for (;;) {
    while (i < a.size() && !IsHyphenOrApostrophe(a[i])) ++i, ++placeA;
    while (j < b.size() && !IsHyphenOrApostrophe(b[j])) ++j, ++placeB;
    if (i == a.size() || j == b.size()) return (i < a.size()) - (j < b.size());
    if (placeA != placeB) return placeA < placeB ? 1 : -1;
    if (a[i] != b[j]) return a[i] == '-' ? 1 : -1;
    ++i;
    ++j;
  }
}

}  // namespace

int CompareAddressText(std::string_view a, std::string_view b) {
  const int primary = ComparePrimary(a, b);
  return primary != 0 ? primary : CompareHyphens(a, b);
}

}  // namespace qor::engine
