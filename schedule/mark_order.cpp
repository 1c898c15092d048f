// Row order of area schedules: plain and natural comparison of mark numbers.
#include "schedule/mark_order.h"

#include <algorithm>
#include <numeric>

namespace area {
namespace {

bool IsDigitUnit(char16_t unit) {
  return unit >= u'0' && unit <= u'9';
}

bool IsAllDigits(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigitUnit);
}

// Order of two different units in natural order: upper-case forms first, the units themselves
// when those are equal.
bool UnitGreater(char16_t a, char16_t b) {
  const char16_t foldedA = FoldAsciiUpper(a);
  const char16_t foldedB = FoldAsciiUpper(b);
  return foldedA != foldedB ? foldedA > foldedB : a > b;
}

// Negative, zero or positive as a is before, equal to or after b, for texts of equal length;
// decided at the first position where the units differ.
int CompareCharacters(std::u16string_view a, std::u16string_view b) {
  const auto [atA, atB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (atA == a.end()) return 0;
  return UnitGreater(*atA, *atB) ? 1 : -1;
}

bool NaturalGreater(std::u16string_view a, std::u16string_view b) {
  if (a.size() == b.size()) return CompareCharacters(a, b) > 0;
  const std::size_t common = std::min(a.size(), b.size());
  const std::u16string_view prefixA = a.substr(0, common);
  const std::u16string_view prefixB = b.substr(0, common);
  if (IsAllDigits(prefixA) && IsAllDigits(prefixB)) return a.size() > b.size();
  const int order = CompareCharacters(prefixA, prefixB);
  return order > 0 || (order == 0 && a.size() > b.size());
}

// Natural order is transitive on a set of numbers (and so a total order up to equal numbers)
// when they are all of one length (a comparison of characters); or when none is all digits but
// the empty one (the digit-length rule never applies); or when each is all digits or starts with
// a character other than a digit (that character alone orders it against every number of
// digits, all on one side).
bool NaturalOrderIsTransitive(const std::vector<std::u16string>& numbers) {
  const auto nonEmptyAllDigits = [](const std::u16string& n) {
    return !n.empty() && IsAllDigits(n);
  };
  const auto allDigitsOrNoDigitFirst = [](const std::u16string& n) {
    return n.empty() || IsAllDigits(n) || !IsDigitUnit(n.front());
  };
  const auto sameLength = [&](const std::u16string& n) {
    return n.size() == numbers.front().size();
  };
  return numbers.empty() || std::all_of(numbers.begin(), numbers.end(), sameLength) ||
         std::none_of(numbers.begin(), numbers.end(), nonEmptyAllDigits) ||
         std::all_of(numbers.begin(), numbers.end(), allDigitsOrNoDigitFirst);
}

// A number as the bubble sort compares it, measured once: the fallback makes about n * n / 2
// comparisons, so nothing in one may scan more than the units it compares.
struct NaturalKey {
  std::u16string_view text;
  std::size_t leadingDigits;  // length of the run of digits the number starts with
};

NaturalKey KeyOf(std::u16string_view text) {
  const auto firstOther = std::find_if_not(text.begin(), text.end(), IsDigitUnit);
  return {text, static_cast<std::size_t>(firstOther - text.begin())};
}

// NaturalGreater, with "both common prefixes are all digits" read from the keys.
bool NaturalKeyGreater(const NaturalKey& a, const NaturalKey& b) {
  if (a.text.size() == b.text.size()) return CompareCharacters(a.text, b.text) > 0;
  const std::size_t common = std::min(a.text.size(), b.text.size());
  if (a.leadingDigits >= common && b.leadingDigits >= common) return a.text.size() > b.text.size();
  const int order = CompareCharacters(a.text.substr(0, common), b.text.substr(0, common));
  return order > 0 || (order == 0 && a.text.size() > b.text.size());
}

std::vector<std::size_t> BubbleSortOrder(const std::vector<std::u16string>& numbers) {
  std::vector<std::size_t> order(numbers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::vector<NaturalKey> keys;
  keys.reserve(numbers.size());
  for (const std::u16string& number : numbers) keys.push_back(KeyOf(number));
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
      if (!NaturalKeyGreater(keys[i], keys[i + 1])) continue;
      std::swap(keys[i], keys[i + 1]);
      std::swap(order[i], order[i + 1]);
      swapped = true;
    }
  }
  return order;
}

}  // namespace

std::vector<std::size_t> MarkSortOrder(const std::vector<std::u16string>& numbers, int sortMode) {
  if (sortMode != kSortPlain && !NaturalOrderIsTransitive(numbers)) return BubbleSortOrder(numbers);
  std::vector<std::size_t> order(numbers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return MarkNumberGreater(numbers[b], numbers[a], sortMode);
  });
  return order;
}

bool MarkNumberGreater(std::u16string_view a, std::u16string_view b, int sortMode) {
  if (sortMode == kSortPlain) return a.compare(b) > 0;
  return NaturalGreater(a, b);
}

bool MarkNumberGreater(std::string_view a, std::string_view b, int sortMode) {
  return MarkNumberGreater(ToUtf16(a), ToUtf16(b), sortMode);
}

}  // namespace area
