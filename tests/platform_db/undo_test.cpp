// Undo steps restore objects through their own filing.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "db/database_impl.h"
#include "db_fixture.h"

namespace {

using UndoTest = DrawingTest;

tessera::db::UndoLog& Log(AcDbDatabase* database) {
  return tessera::db::Impl(database)->undo();
}

AcGePoint3d StartOf(DrawingTest& test, AcDbObjectId id) {
  auto* line = test.Open<AcDbLine>(id, AcDb::kForRead);
  AcGePoint3d start = line->startPoint();
  line->close();
  return start;
}

void MoveStart(DrawingTest& test, AcDbObjectId id, double x) {
  auto* line = test.Open<AcDbLine>(id, AcDb::kForWrite);
  line->setStartPoint(AcGePoint3d(x, 0, 0));
  line->close();
}

TEST_F(UndoTest, EachCommandIsOneStepRestoredNewestFirst) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).beginCommand("MOVE");
  MoveStart(*this, id, 5);
  MoveStart(*this, id, 6);
  Log(database.get()).endCommand();
  Log(database.get()).beginCommand("MOVE");
  MoveStart(*this, id, 7);
  Log(database.get()).endCommand();
  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(6, 0, 0));
  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(0, 0, 0));
}

TEST_F(UndoTest, ACommandThatChangedNothingIsAStepOfItsOwn) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).beginCommand("MOVE");
  MoveStart(*this, id, 5);
  Log(database.get()).endCommand();
  Log(database.get()).beginCommand("GRIP_STRETCH");  // nothing was at the grip point
  Log(database.get()).endCommand();
  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(5, 0, 0)) << "the move before it stays";
  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(0, 0, 0));
}

TEST_F(UndoTest, AGroupMakesCommandsOneStep) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).closeStep();
  Log(database.get()).beginGroup();
  for (double x : {1.0, 2.0, 3.0}) {
    Log(database.get()).beginCommand("MOVE");
    MoveStart(*this, id, x);
    Log(database.get()).endCommand();
  }
  Log(database.get()).endGroup();
  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(0, 0, 0));
  EXPECT_FALSE(id.isErased());
}

TEST_F(UndoTest, UndoingACreationErasesAndUndoingAnEraseUnerases) {
  Log(database.get()).closeStep();
  Log(database.get()).beginCommand("LINE");
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).endCommand();
  Log(database.get()).beginCommand("ERASE");
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->erase();
  line->close();
  Log(database.get()).endCommand();
  Log(database.get()).undo(1);
  EXPECT_FALSE(id.isErased());
  Log(database.get()).undo(1);
  EXPECT_TRUE(id.isErased());
  // Nothing can bring it back: its memory is gone, its id names an erased object.
  EXPECT_FALSE(id.isValid());
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead, true), Acad::eWasErased);
}

TEST_F(UndoTest, UndoRestoresExtendedDataAndDictionaryEntries) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).closeStep();
  Log(database.get()).beginCommand("TAG");
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  resbuf* tag = acutBuildList(1001, "AREA_LUNE", 1000, "TYPE_SUB", 0);
  line->setXData(tag);
  acutRelRb(tag);
  line->close();
  auto* named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForWrite);
  auto* entry = new AcDbDictionary;
  AcDbObjectId entryId;
  named->setAt("DICT_LUNE", entry, entryId);
  entry->close();
  named->close();
  Log(database.get()).endCommand();

  Log(database.get()).undo(1);
  line = Open<AcDbLine>(id, AcDb::kForRead);
  EXPECT_EQ(line->xData("AREA_LUNE"), nullptr);
  line->close();
  named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForRead);
  EXPECT_FALSE(named->has("DICT_LUNE"));
  named->close();
}

TEST_F(UndoTest, MarkAndBackUndoEverythingSinceTheMark) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Log(database.get()).mark();
  for (double x : {1.0, 2.0}) {
    Log(database.get()).beginCommand("MOVE");
    MoveStart(*this, id, x);
    Log(database.get()).endCommand();
  }
  EXPECT_EQ(Log(database.get()).undoToMark(), 2);
  EXPECT_EQ(StartOf(*this, id), AcGePoint3d(0, 0, 0));
  EXPECT_FALSE(Log(database.get()).hasMark());
}

using Entries = std::vector<std::pair<std::string, AcDbObjectId>>;

Entries EntriesOf(DrawingTest& test, AcDbObjectId dictionaryId) {
  auto* dictionary = test.Open<AcDbDictionary>(dictionaryId, AcDb::kForRead);
  Entries entries = dictionary->entries();
  dictionary->close();
  return entries;
}

AcDbObjectId SetEntry(AcDbDictionary* dictionary, const char* key) {
  auto* value = new AcDbDictionary;
  AcDbObjectId id;
  EXPECT_EQ(dictionary->setAt(key, value, id), Acad::eOk);
  value->close();
  return id;
}

// Entries removed from the middle, the start and in a row, replaced and added in one command
// come back with their keys as written, their ids and their places.
TEST_F(UndoTest, DictionaryEntryChangesUndoToTheSameEntriesInTheSameOrder) {
  auto* named = Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForWrite);
  auto* owner = new AcDbDictionary;
  AcDbObjectId ownerId;
  named->setAt("FIGURES", owner, ownerId);
  named->close();
  for (const char* key : {"Alpha", "B", "c", "D", "E", "F"}) SetEntry(owner, key);
  owner->close();
  const Entries before = EntriesOf(*this, ownerId);
  Log(database.get()).closeStep();

  Log(database.get()).beginCommand("EDIT");
  owner = Open<AcDbDictionary>(ownerId, AcDb::kForWrite);
  EXPECT_EQ(owner->remove("b"), Acad::eOk);
  EXPECT_EQ(owner->remove("C"), Acad::eOk);
  AcDbObjectId replacement = SetEntry(owner, "E");
  SetEntry(owner, "G");
  EXPECT_EQ(owner->remove("ALPHA"), Acad::eOk);
  SetEntry(owner, "D");
  owner->close();
  Log(database.get()).endCommand();
  ASSERT_NE(EntriesOf(*this, ownerId), before);

  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(EntriesOf(*this, ownerId), before);
  EXPECT_TRUE(replacement.isErased());
  for (const auto& [key, id] : before) EXPECT_FALSE(id.isErased()) << key;
}

std::vector<AcDbObjectId> MembersOf(DrawingTest& test, AcDbObjectId groupId) {
  auto* group = test.Open<AcDbGroup>(groupId, AcDb::kForRead);
  std::vector<AcDbObjectId> members = group->memberIds();
  group->close();
  return members;
}

bool Follows(DrawingTest& test, AcDbObjectId member, AcDbObjectId groupId) {
  auto* entity = test.Open<AcDbEntity>(member, AcDb::kForRead);
  const auto& followers = entity->persistentReactors();
  bool follows = std::find(followers.begin(), followers.end(), groupId) != followers.end();
  entity->close();
  return follows;
}

// Members taken out come back at their places, still followed by the group; a member added
// goes, and the group stops following it.
TEST_F(UndoTest, GroupMemberChangesUndoToTheSameMembers) {
  std::vector<AcDbObjectId> lines;
  for (double x : {0.0, 1.0, 2.0, 3.0}) lines.push_back(AppendLine(x, 0, x, 1));
  AcDbObjectId extra = AppendLine(9, 0, 9, 1);
  auto* groups = Open<AcDbDictionary>(database->groupDictionaryId(), AcDb::kForWrite);
  auto* group = new AcDbGroup("lot");
  AcDbObjectId groupId;
  groups->setAt("*", group, groupId);
  groups->close();
  for (AcDbObjectId line : lines) group->append(line);
  group->close();
  Log(database.get()).closeStep();

  Log(database.get()).beginCommand("EDIT");
  group = Open<AcDbGroup>(groupId, AcDb::kForWrite);
  EXPECT_EQ(group->remove(lines[2]), Acad::eOk);
  EXPECT_EQ(group->append(extra), Acad::eOk);
  EXPECT_EQ(group->remove(lines[0]), Acad::eOk);
  group->close();
  Log(database.get()).endCommand();
  ASSERT_FALSE(Follows(*this, lines[0], groupId));

  EXPECT_EQ(Log(database.get()).undo(1), 1);
  EXPECT_EQ(MembersOf(*this, groupId), lines);
  for (AcDbObjectId line : lines) EXPECT_TRUE(Follows(*this, line, groupId));
  EXPECT_FALSE(Follows(*this, extra, groupId));
}

}  // namespace
