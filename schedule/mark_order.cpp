// Row order of area schedules: plain and natural comparison of mark numbers.
#include "schedule/mark_order.h"

#include <algorithm>

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

}  // namespace

bool MarkNumberGreater(std::u16string_view a, std::u16string_view b, int sortMode) {
  if (sortMode == kSortPlain) return a.compare(b) > 0;
  return NaturalGreater(a, b);
}

bool MarkNumberGreater(std::string_view a, std::string_view b, int sortMode) {
  return MarkNumberGreater(ToUtf16(a), ToUtf16(b), sortMode);
}

}  // namespace area
