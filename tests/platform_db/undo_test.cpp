// Undo steps restore objects through their own filing.
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

}  // namespace
