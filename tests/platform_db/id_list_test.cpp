#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "cad/db_object.h"
#include "db/stub.h"

namespace {

using tessera::db::IdList;

class IdListTest : public ::testing::Test {
 protected:
  AcDbObjectId id(std::size_t i) { return AcDbObjectId(&m_stubs[i]); }
  std::vector<AcDbObjectId> ids(std::initializer_list<std::size_t> indices) {
    std::vector<AcDbObjectId> result;
    for (std::size_t i : indices) result.push_back(id(i));
    return result;
  }

 private:
  std::array<AcDbStub, 12> m_stubs{};
};

TEST_F(IdListTest, KeepsOrderAsItGrowsAndLosesEntries) {
  IdList list;
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.begin(), list.end());
  for (std::size_t i = 0; i < 9; ++i) list.push_back(id(i));
  EXPECT_EQ(list.toVector(), ids({0, 1, 2, 3, 4, 5, 6, 7, 8}));

  // Ranges out of the middle, the end and the start, as remove-erase and find-erase make them.
  list.erase(std::remove(list.begin(), list.end(), id(4)), list.end());
  auto third = std::find(list.begin(), list.end(), id(2));
  EXPECT_EQ(*list.erase(third, third + 1), id(3));
  list.erase(list.begin(), list.begin() + 2);
  EXPECT_EQ(list.toVector(), ids({3, 5, 6, 7, 8}));

  list.erase(list.begin(), list.end());
  EXPECT_TRUE(list.empty());
  list.push_back(id(11));
  EXPECT_EQ(list.toVector(), ids({11}));
  list.clear();
  EXPECT_EQ(list.size(), 0u);
  EXPECT_EQ(list.erase(list.begin(), list.end()), list.end());
}

TEST_F(IdListTest, CopiesAreApartAndMovesEmptyTheSource) {
  IdList list{id(1), id(2), id(3)};
  IdList copy = list;
  copy.push_back(id(4));
  list.erase(list.begin(), list.begin() + 1);
  EXPECT_EQ(list.toVector(), ids({2, 3}));
  EXPECT_EQ(copy.toVector(), ids({1, 2, 3, 4}));

  copy = list;  // onto a longer list
  EXPECT_EQ(copy.toVector(), ids({2, 3}));
  copy = IdList{};  // onto nothing
  EXPECT_TRUE(copy.empty());
  const IdList& same = list;
  list = same;
  EXPECT_EQ(list.toVector(), ids({2, 3}));

  IdList moved = std::move(list);
  EXPECT_EQ(moved.toVector(), ids({2, 3}));
  EXPECT_TRUE(list.empty());  // NOLINT(bugprone-use-after-move): the source is left empty
  list = std::move(moved);
  EXPECT_EQ(list.toVector(), ids({2, 3}));
  EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move)
}

}  // namespace
