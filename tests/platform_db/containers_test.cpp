// Dictionaries, groups and extended data.
#include <cstring>
#include <string>
#include <vector>

#include "db_fixture.h"

namespace {

using ContainersTest = DrawingTest;

AcDbObjectId AddEntry(AcDbDictionary* dictionary, const char* key) {
  AcDbObjectId id;
  auto* entry = new AcDbDictionary;
  EXPECT_EQ(dictionary->setAt(key, entry, id), Acad::eOk);
  entry->close();
  return id;
}

TEST_F(ContainersTest, DictionaryKeepsInsertionOrderAndFindsKeysWithoutCase) {
  auto* named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForWrite);
  AcDbObjectId zebra = AddEntry(named, "ZEBRA");
  AcDbObjectId apple = AddEntry(named, "apple");
  std::vector<std::string> keys;
  for (const auto& [key, id] : named->entries()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"ACAD_GROUP", "ZEBRA", "apple"}));
  AcDbObjectId found;
  EXPECT_EQ(named->getAt("Apple", found), Acad::eOk);
  EXPECT_EQ(found, apple);
  std::string key;
  EXPECT_EQ(named->nameAt(zebra, key), Acad::eOk);
  EXPECT_EQ(key, "ZEBRA");
  EXPECT_EQ(named->getAt("missing", found), Acad::eKeyNotFound);
  AcDbObjectId removed;
  EXPECT_EQ(named->remove("zebra", removed), Acad::eOk);
  EXPECT_EQ(removed, zebra);
  EXPECT_FALSE(named->has("ZEBRA"));
  EXPECT_EQ(named->numEntries(), 2u);
  named->close();
}

TEST_F(ContainersTest, DictionaryIteratorSkipsErasedEntries) {
  auto* named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForWrite);
  AcDbObjectId doomed = AddEntry(named, "DOOMED");
  named->close();
  auto* entry = Open<AcDbDictionary>(doomed, AcDb::kForWrite);
  entry->erase();
  entry->close();
  named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForRead);
  AcDbDictionaryIterator* iterator = named->newIterator();
  int count = 0;
  for (; !iterator->done(); iterator->next()) ++count;
  delete iterator;
  named->close();
  EXPECT_EQ(count, 1);
}

TEST_F(ContainersTest, AnonymousGroupsGetNamesOfTheirOwnAndSkipErasedMembers) {
  AcDbObjectId a = AppendLine(0, 0, 1, 0);
  AcDbObjectId b = AppendLine(0, 0, 0, 1);
  auto* groups = Open<AcDbDictionary>(database->groupDictionaryId(), AcDb::kForWrite);
  auto* group = new AcDbGroup;
  AcDbObjectId groupId;
  ASSERT_EQ(groups->setAt("*", group, groupId), Acad::eOk);
  auto* second = new AcDbGroup;
  AcDbObjectId secondId;
  ASSERT_EQ(groups->setAt("*", second, secondId), Acad::eOk);
  second->close();
  groups->close();
  ASSERT_EQ(group->append(a), Acad::eOk);
  ASSERT_EQ(group->append(b), Acad::eOk);
  EXPECT_TRUE(group->isAnonymous());
  std::string firstName = group->name();
  group->close();
  EXPECT_EQ(firstName.rfind("*A", 0), 0u);
  auto* other = Open<AcDbGroup>(secondId, AcDb::kForRead);
  EXPECT_NE(other->name(), firstName);
  other->close();

  auto* line = Open<AcDbLine>(a, AcDb::kForWrite);
  EXPECT_EQ(line->persistentReactors().toVector(), std::vector<AcDbObjectId>{groupId});
  line->erase();
  line->close();
  group = Open<AcDbGroup>(groupId, AcDb::kForRead);
  AcDbObjectIdArray members;
  EXPECT_EQ(group->allEntityIds(members), 1u);
  EXPECT_EQ(members[0], b);
  group->close();
}

resbuf* Tag(const char* application, const char* role) {
  return acutBuildList(1001, application, 1000, role, 0);
}

TEST_F(ContainersTest, ExtendedDataIsKeptPerApplication) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  resbuf* first = Tag("AREA_TRIANGLE", "TYPE_OUT");
  resbuf* second = Tag("PLOT_TALLY", "L");
  ASSERT_EQ(line->setXData(first), Acad::eOk);
  ASSERT_EQ(line->setXData(second), Acad::eOk);
  acutRelRb(first);
  acutRelRb(second);
  resbuf* triangle = line->xData("area_triangle");
  ASSERT_NE(triangle, nullptr);
  EXPECT_EQ(triangle->restype, 1001);
  ASSERT_NE(triangle->rbnext, nullptr);
  EXPECT_STREQ(triangle->rbnext->resval.rstring, "TYPE_OUT");
  EXPECT_EQ(triangle->rbnext->rbnext, nullptr);
  acutRelRb(triangle);

  resbuf* replaced = acutBuildList(1001, "AREA_TRIANGLE", 1000, "TYPE_OUT", 1000, "X", 0);
  line->setXData(replaced);
  acutRelRb(replaced);
  resbuf* all = line->xData();
  int items = 0;
  for (resbuf* item = all; item; item = item->rbnext) ++items;
  EXPECT_EQ(items, 5);  // PLOT_TALLY L, then AREA_TRIANGLE with two strings
  acutRelRb(all);
  line->close();

  auto* apps = Open<AcDbRegAppTable>(database->regAppTableId(), AcDb::kForRead);
  EXPECT_TRUE(apps->has("AREA_TRIANGLE"));
  EXPECT_TRUE(apps->has("PLOT_TALLY"));
  apps->close();
}

TEST_F(ContainersTest, ExtendedDataMustStartWithAnApplicationName) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  resbuf* bad = acutBuildList(1000, "orphan", 0);
  EXPECT_EQ(line->setXData(bad), Acad::eInvalidInput);
  acutRelRb(bad);
  EXPECT_EQ(line->xData(), nullptr);
  line->close();
}

// The applications' codes in order, from the whole of an object's data.
std::vector<std::string> Applications(AcDbObject* object) {
  std::vector<std::string> names;
  resbuf* all = object->xData();
  for (resbuf* item = all; item; item = item->rbnext)
    if (item->restype == 1001) names.emplace_back(item->resval.rstring);
  acutRelRb(all);
  return names;
}

TEST_F(ContainersTest, ExtendedDataBlocksAreReplacedAndRemovedByApplicationWithoutCase) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  resbuf* three = acutBuildList(1001, "FIRST", 1070, 1, 1001, "SECOND", 1040, 2.5, 1001, "THIRD",
                                1000, "kept", 0);
  ASSERT_EQ(line->setXData(three), Acad::eOk);
  acutRelRb(three);

  // One call both removes a block (its name alone) and replaces another, named in other case.
  resbuf* edit = acutBuildList(1001, "second", 1001, "first", 1071, 70000, 0);
  ASSERT_EQ(line->setXData(edit), Acad::eOk);
  acutRelRb(edit);
  EXPECT_EQ(Applications(line), (std::vector<std::string>{"THIRD", "first"}));
  resbuf* first = line->xData("FIRST");
  ASSERT_TRUE(first && first->rbnext);
  EXPECT_EQ(first->rbnext->restype, 1071);
  EXPECT_EQ(first->rbnext->resval.rlong, 70000);
  acutRelRb(first);
  EXPECT_EQ(line->xData("SECOND"), nullptr);

  resbuf* removeAll = acutBuildList(1001, "THIRD", 1001, "FIRST", 0);
  ASSERT_EQ(line->setXData(removeAll), Acad::eOk);
  acutRelRb(removeAll);
  EXPECT_EQ(line->xData(), nullptr);
  line->close();
}

TEST_F(ContainersTest, ExtendedDataRefusesItemsItCannotKeepAndStaysAsItWas) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  resbuf* kept = Tag("AREA_TRIANGLE", "TYPE_OUT");
  ASSERT_EQ(line->setXData(kept), Acad::eOk);
  acutRelRb(kept);
  for (int code : {330, 160}) {  // an object id, a 64-bit number
    SCOPED_TRACE(code);
    resbuf* bad = acutBuildList(1001, "AREA_TRIANGLE", 1000, "REPLACED", 0);
    resbuf* item = acutNewRb(code);
    bad->rbnext->rbnext = item;
    EXPECT_EQ(line->setXData(bad), Acad::eInvalidInput);
    acutRelRb(bad);
    resbuf* data = line->xData("AREA_TRIANGLE");
    ASSERT_TRUE(data && data->rbnext);
    EXPECT_STREQ(data->rbnext->resval.rstring, "TYPE_OUT");
    EXPECT_EQ(data->rbnext->rbnext, nullptr);
    acutRelRb(data);
  }
  line->close();
}

}  // namespace
