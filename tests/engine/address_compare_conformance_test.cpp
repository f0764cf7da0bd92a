// The portable address comparison against CompareStringA itself, over many generated texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "engine/address_compare.h"

namespace qor::engine {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

int WindowsCompare(const std::string& a, const std::string& b) {
  const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                    b.data(), static_cast<int>(b.size()));
  if (result == 0) ADD_FAILURE() << "CompareStringA failed: " << GetLastError();
  return result - CSTR_EQUAL;
}

const std::string kAddressChars = "%'+-.0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";

// Texts over the 69 ASCII address characters, short and from few letters so that equal starts, case
// twins and hyphen placements are common.
class TextGenerator {
 public:
  std::string Random() {
    std::string text(std::uniform_int_distribution<std::size_t>(0, 8)(rng_), ' ');
    for (char& c : text) c = Pick();
    return text;
  }

  // A copy of `text` with letter case flipped and hyphens moved, added or removed.
  std::string Twin(std::string text) {
    for (char& c : text) {
      if (Chance(3) && std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
    }
    if (Chance(2)) text.insert(std::uniform_int_distribution<std::size_t>(0, text.size())(rng_), 1, '-');
    if (const auto dash = text.find('-'); dash != std::string::npos && Chance(2)) text.erase(dash, 1);
    return text;
  }

 private:
  bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(rng_) == 1; }

  char Pick() {
    static const std::string common = "%'+-.@_0aAbB";
    if (Chance(2)) return common[std::uniform_int_distribution<std::size_t>(0, common.size() - 1)(rng_)];
    return kAddressChars[std::uniform_int_distribution<std::size_t>(0, kAddressChars.size() - 1)(rng_)];
  }

  std::mt19937 rng_{20261209};
};

TEST(CompareAddressTextConformance, AgreesWithCompareStringAOnEverySingleCharacterPair) {
  for (char a : kAddressChars) {
    for (char b : kAddressChars) {
      const std::string x(1, a), y(1, b);
      ASSERT_EQ(Sign(CompareAddressText(x, y)), WindowsCompare(x, y)) << x << " vs " << y;
    }
  }
}

TEST(CompareAddressTextConformance, AgreesWithCompareStringAOnGeneratedTexts) {
  TextGenerator generator;
  int disagreements = 0;
  for (int i = 0; i < 200000 && disagreements < 20; ++i) {
    const std::string a = generator.Random();
    const std::string b = i % 2 ? generator.Twin(a) : generator.Random();
    const int expected = WindowsCompare(a, b);
    if (Sign(CompareAddressText(a, b)) != expected) {
      ++disagreements;
      ADD_FAILURE() << '"' << a << "\" vs \"" << b << "\": Windows says " << expected;
    }
  }
}

}  // namespace
}  // namespace qor::engine
