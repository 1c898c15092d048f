// Answers kept per class: each class's answer is worked out once, and stays its own however
// many classes share a cache slot.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/rx.h"
#include "db/per_class.h"

namespace {

TEST(PerClassTest, EachClassIsWorkedOutOnceAndKeepsItsOwnAnswer) {
  // More classes than cache slots, so that some of them meet at a slot.
  std::vector<std::unique_ptr<AcRxClass>> classes;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "PerClassTest" + std::to_string(i);
    classes.push_back(std::make_unique<AcRxClass>(name, "AcDbObject", 0, 0, 0, nullptr, "", ""));
  }
  tessera::db::PerClass<int> numbers;
  int computed = 0;
  for (int round = 0; round < 3; ++round) {
    // Forward then backward, so each class is asked again after others took its slot.
    for (int k = 0; k < 300; ++k) {
      const int i = round % 2 == 0 ? k : 299 - k;
      const int answer = numbers.of(classes[i].get(), [&] {
        ++computed;
        return i * 7;
      });
      ASSERT_EQ(answer, i * 7) << "class " << i << ", round " << round;
    }
  }
  EXPECT_EQ(computed, 300);
}

}  // namespace
