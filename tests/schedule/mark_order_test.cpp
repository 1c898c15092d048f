// Row order of area schedules: plain and natural comparison, and the sort that keeps the bubble
// sort's order.
#include "schedule/mark_order.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace area {
namespace {

constexpr int kNatural = 1;

struct OrderCase {
  const char* name;
  int sortMode;
  std::string before;
  std::string after;
};

TEST(MarkNumberGreaterTest, OrdersPairs) {
  const OrderCase cases[] = {
      {"numbers by length", kNatural, "9", "10"},
      {"numbers of equal length", kNatural, "12", "21"},
      {"upper case before lower case", kNatural, "A2", "a2"},
      {"first differing unit decides", kNatural, "A2", "a1"},
      {"letters fold before comparing", kNatural, "a", "B"},
      {"empty before a digit", kNatural, "", "0"},
      {"digit prefixes compare by length", kNatural, "2", "1A"},
      {"prefix before longer text", kNatural, "A", "AB"},
      {"prefix decides over length", kNatural, "AB", "B"},
      {"equal length compares units", kNatural, "10", "9A"},
      {"digit before katakana", kNatural, "12", "イ1"},
      {"katakana by code", kNatural, "ア", "イ"},
      {"surrogate unit before half-width kana", kNatural, "\U00020BB7", "\uFF71"},
      {"mode 0 compares naturally", 0, "9", "10"},
      {"plain text order", kSortPlain, "10", "9"},
      {"plain prefix first", kSortPlain, "A", "AB"},
      {"plain upper case before lower", kSortPlain, "B", "a"},
      {"plain code units", kSortPlain, "\U00020BB7", "\uFF71"},
  };
  for (const OrderCase& c : cases) {
    EXPECT_TRUE(MarkNumberGreater(c.after, c.before, c.sortMode))
        << c.name << ": mode " << c.sortMode << " '" << c.after << "' > '" << c.before << "'";
    EXPECT_FALSE(MarkNumberGreater(c.before, c.after, c.sortMode))
        << c.name << ": mode " << c.sortMode << " '" << c.before << "' > '" << c.after << "'";
  }
  EXPECT_FALSE(MarkNumberGreater("A1", "A1", kNatural));
  EXPECT_FALSE(MarkNumberGreater("A1", "A1", kSortPlain));
}

// The digit rule for unequal lengths and the unit rule for equal lengths make a cycle, so no
// sort can put these three in an order that agrees with every pair.
TEST(MarkNumberGreaterTest, NaturalOrderIsNotTransitive) {
  EXPECT_TRUE(MarkNumberGreater("1AA", "10X", kNatural));
  EXPECT_TRUE(MarkNumberGreater("10X", "20", kNatural));
  EXPECT_TRUE(MarkNumberGreater("20", "1AA", kNatural));
}

struct Mark {
  std::string number;
  int selection;  // position in the selection
};

std::vector<Mark> MarksOf(const std::vector<std::string>& numbers) {
  std::vector<Mark> marks;
  for (const std::string& number : numbers)
    marks.push_back({number, static_cast<int>(marks.size())});
  return marks;
}

std::string Describe(const std::vector<Mark>& marks) {
  std::string text;
  for (const Mark& mark : marks) text += mark.number + "#" + std::to_string(mark.selection) + " ";
  return text;
}

void Sort(std::vector<Mark>& marks, int sortMode) {
  SortMarks(marks, sortMode, [](const Mark& mark) { return mark.number; });
}

// The order schedules have always had, as the reference the sort must keep.
void BubbleSort(std::vector<Mark>& marks, int sortMode) {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
      if (!MarkNumberGreater(marks[i].number, marks[i + 1].number, sortMode)) continue;
      std::swap(marks[i], marks[i + 1]);
      swapped = true;
    }
  }
}

TEST(BubbleSortMarksTest, SortsNaturallyAndKeepsEqualNumbersInSelectionOrder) {
  std::vector<Mark> marks = MarksOf({"10", "a2", "9", "A2", "10", "B", "a2"});
  Sort(marks, kNatural);
  EXPECT_EQ(Describe(marks), "9#2 10#0 10#4 A2#3 a2#1 a2#6 B#5 ");
}

TEST(BubbleSortMarksTest, PlainOrderAndSelectionOrder) {
  std::vector<Mark> marks = MarksOf({"9", "10", "B", "a"});
  Sort(marks, kSortPlain);
  EXPECT_EQ(Describe(marks), "10#1 9#0 B#2 a#3 ");
  std::vector<Mark> unsorted = MarksOf({"9", "10", "B", "a"});
  Sort(unsorted, kSortSelectionOrder);
  EXPECT_EQ(Describe(unsorted), "9#0 10#1 B#2 a#3 ");
}

TEST(BubbleSortMarksTest, CycleEndsInAnOrderThatDependsOnTheSelection) {
  std::vector<Mark> first = MarksOf({"1AA", "10X", "20"});
  Sort(first, kNatural);
  EXPECT_EQ(Describe(first), "10X#1 1AA#0 20#2 ");
  std::vector<Mark> second = MarksOf({"20", "1AA", "10X"});
  Sort(second, kNatural);
  EXPECT_EQ(Describe(second), "1AA#1 20#0 10X#2 ");
}

// A stable O(n log n) sort with the same comparison: the candidate to replace the bubble sort.
void MergeSort(std::vector<Mark>& marks, int sortMode) {
  if (marks.size() < 2) return;
  std::vector<Mark> left(marks.begin(), marks.begin() + marks.size() / 2);
  std::vector<Mark> right(marks.begin() + marks.size() / 2, marks.end());
  MergeSort(left, sortMode);
  MergeSort(right, sortMode);
  std::size_t l = 0, r = 0;
  for (Mark& slot : marks) {
    const bool takeRight =
        l == left.size() ||
        (r < right.size() && MarkNumberGreater(left[l].number, right[r].number, sortMode));
    slot = takeRight ? right[r++] : left[l++];
  }
}

std::vector<Mark> RandomMarks(std::mt19937& random, const std::vector<std::string>& alphabet,
                              std::size_t most = 12, std::size_t longest = 4) {
  std::vector<std::string> numbers(2 + random() % (most - 1));
  for (std::string& number : numbers) {
    for (std::size_t length = random() % (longest + 1); length > 0; --length) {
      number += alphabet[random() % alphabet.size()];
    }
  }
  return MarksOf(numbers);
}

using Sorter = void (*)(std::vector<Mark>&, int);

// Lists on which the bubble sort and `other` give different rows, out of `lists` random ones.
int CountDisagreements(const std::vector<std::string>& alphabet, int sortMode, int lists,
                       Sorter other = MergeSort, std::size_t most = 12, std::size_t longest = 4) {
  std::mt19937 random(20240611);
  int disagreements = 0;
  for (int i = 0; i < lists; ++i) {
    std::vector<Mark> bubble = RandomMarks(random, alphabet, most, longest);
    std::vector<Mark> merge = bubble;
    BubbleSort(bubble, sortMode);
    other(merge, sortMode);
    if (Describe(bubble) != Describe(merge)) {
      if (disagreements == 0)
        std::cout << "  first disagreement:\n    bubble " << Describe(bubble) << "\n    merge  "
                  << Describe(merge) << "\n";
      ++disagreements;
    }
  }
  return disagreements;
}

const std::vector<std::string> kDigits = {"0", "1", "2", "9"};
const std::vector<std::string> kLetters = {"a", "A",  "b",  "B",          "z",
                                           "Z", "ア", "イ", "\U00020BB7", "\uFF71"};
const std::vector<std::string> kMixed = {"0", "1", "2", "9",  "a",         "A",
                                         "b", "B", "-", "イ", "\U00020BB7"};

TEST(FasterSortTest, AgreesWhereTheOrderIsTransitive) {
  EXPECT_EQ(CountDisagreements(kMixed, kSortPlain, 3000), 0);
  EXPECT_EQ(CountDisagreements(kDigits, kNatural, 3000), 0);
  EXPECT_EQ(CountDisagreements(kLetters, kNatural, 3000), 0);
}

// Why the schedule keeps the bubble sort's order: on mixed numbers a faster stable sort orders
// some lists differently.
TEST(FasterSortTest, DisagreesOnMixedNaturalOrder) {
  EXPECT_GT(CountDisagreements(kMixed, kNatural, 3000), 0);
}

// Lot numbers as surveys write them ("12-3", "105", "A-2"), and sets that fall in each kind on
// which the fast path is taken: all digits, no number of digits, digits or no digit first.
const std::vector<std::string> kLotNumbers = {"1", "2", "0", "9", "-", "A", "b"};
const std::vector<std::string> kDigitsOrLetterFirst = {"0", "1", "9", "A", "b", "-"};

TEST(SortMarksTest, GivesTheBubbleSortsOrderOnEveryList) {
  for (int mode : {kNatural, kSortPlain}) {
    for (const auto* alphabet : {&kDigits, &kLetters, &kMixed, &kLotNumbers})
      EXPECT_EQ(CountDisagreements(*alphabet, mode, 2000, Sort), 0) << mode;
    EXPECT_EQ(CountDisagreements(kLotNumbers, mode, 40, Sort, 300, 6), 0) << "long lists";
    EXPECT_EQ(CountDisagreements(kDigits, mode, 40, Sort, 300, 6), 0) << "long digit lists";
  }
}

// Lists made only of numbers of digits and numbers that start with another character take the
// fast path; build them so and compare.
TEST(SortMarksTest, FastPathOnDigitsAndLetterFirstNumbers) {
  std::mt19937 random(7);
  for (int list = 0; list < 300; ++list) {
    std::vector<Mark> marks = RandomMarks(random, kDigitsOrLetterFirst, 200, 5);
    for (Mark& mark : marks)
      if (!mark.number.empty() &&
          mark.number.find_first_not_of("0123456789") != std::string::npos &&
          std::isdigit(static_cast<unsigned char>(mark.number[0])))
        mark.number.insert(0, "A");
    std::vector<Mark> reference = marks;
    BubbleSort(reference, kNatural);
    Sort(marks, kNatural);
    ASSERT_EQ(Describe(marks), Describe(reference));
  }
}

}  // namespace
}  // namespace area
