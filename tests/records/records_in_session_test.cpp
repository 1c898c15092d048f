// Records as a user's session meets them: figure commands and schedules undone, and the drawing
// saved and opened again. Undo restores a record through its own filing, which must neither
// double its rows nor give its mark a second reactor.
#include <filesystem>
#include <string>
#include <vector>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "records/mark_reactor.h"
#include "schedule/schedule_drawing.h"

namespace area::testing {
namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("tessera_session_" + name)).string();
}

class RecordsInSessionTest : public ScheduleDrawing {
 protected:
  // How many mark reactors the mark has: one for a linked figure, never two.
  static int MarkReactors(AcDbObjectId mark) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, mark, AcDb::kForRead) != Acad::eOk) return -1;
    int count = 0;
    for (AcDbObjectReactor* reactor : tessera::db::ObjectAccess::reactors(object))
      if (dynamic_cast<ZebAreaObjNewReact*>(reactor) != nullptr) ++count;
    object->close();
    return count;
  }

  // Row objects of the working drawing that are not erased.
  static int LiveRows() {
    int rows = 0;
    AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
    tessera::db::Impl(working)->forEachObject([&](AcDbObjectId id) {
      if (id.isErased()) return;
      const std::string name = id.objectClass()->name();
      if (name == "AreaDic_Table" || name == "AreaDic_STable") ++rows;
    });
    return rows;
  }

  static int Entries(const char* dictionary) {
    AcDbDictionary* named = nullptr;
    AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
    if (working->getNamedObjectsDictionary(named, AcDb::kForRead) != Acad::eOk) return -1;
    AcDbObject* found = nullptr;
    Acad::ErrorStatus status = named->getAt(dictionary, found, AcDb::kForRead);
    named->close();
    if (status != Acad::eOk) return -1;
    int entries = static_cast<int>(AcDbDictionary::cast(found)->numEntries());
    found->close();
    return entries;
  }

  void Undo() { ASSERT_EQ(run("UNDO\n1\n").status, 0) << transcript(); }

  // A schedule as one undo step, as a menu macro would wrap it.
  void Tally(const std::string& settings, const std::vector<AcDbObjectId>& marks,
             const std::string& at) {
    ASSERT_EQ(run("UNDO\nBE\n").status, 0) << transcript();
    ASSERT_FALSE(plotTally(settings, marks, {at}).error) << transcript();
    ASSERT_EQ(run("UNDO\nE\n").status, 0) << transcript();
  }

  // Table rows, triangle rows and mark reactors of a figure, and the live rows of the drawing.
  std::vector<int> State(AcDbObjectId mark) {
    return {tableRowCount(mark), triangleRowCount(mark), MarkReactors(mark), LiveRows()};
  }
};

TEST_F(RecordsInSessionTest, UndoOfAFigureTakesItsRecordOutOfTheDictionary) {
  const AcDbObjectId first = drawTriangle("1", 0, 10000);
  const AcDbObjectId second = drawTriangle("2", 10000, 10000);
  const AcDbObjectId record = recordIdOf(second);
  ASSERT_EQ(Entries(kDictTriangle), 2);
  Undo();
  EXPECT_EQ(Entries(kDictTriangle), 1);
  EXPECT_TRUE(record.isErased());
  EXPECT_TRUE(second.isErased());
  EXPECT_EQ(MarkReactors(first), 1);
  // The first figure made the dictionary: undoing it takes the dictionary too.
  Undo();
  EXPECT_EQ(Entries(kDictTriangle), -1);
  EXPECT_TRUE(recordIdOf(first).isNull());
}

// Each schedule adds rows; undoing one re-reads the records it changed from their filing, with
// the rows they had before. Done twice over, nothing grows.
TEST_F(RecordsInSessionTest, UndoingSchedulesBackAndForthLeavesNoDoubledRowsOrReactors) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 10000);
  const AcDbObjectId rectangle = drawRectangle("2", 10000, 10000);
  // The figure run leaves its last undo group open, as the next figure command expects.
  ASSERT_EQ(run("UNDO\nE\n").status, 0) << transcript();
  ASSERT_EQ(State(triangle), (std::vector<int>{0, 0, 1, 0}));
  for (int round = 0; round < 2; ++round) {
    Tally(kGeneralSettings, {triangle, rectangle}, "0,0");
    Tally(kTriangleSettings, {triangle}, "0,-20000");
    Tally(kGeneralSettings, {triangle}, "0,-40000");
    EXPECT_EQ(State(triangle), (std::vector<int>{2, 1, 1, 4})) << "round " << round;
    Undo();
    EXPECT_EQ(State(triangle), (std::vector<int>{1, 1, 1, 3})) << "round " << round;
    EXPECT_EQ(tableRowCount(rectangle), 1);
    Undo();
    EXPECT_EQ(State(triangle), (std::vector<int>{1, 0, 1, 2})) << "round " << round;
    Undo();
    EXPECT_EQ(State(triangle), (std::vector<int>{0, 0, 1, 0})) << "round " << round;
    EXPECT_EQ(State(rectangle), (std::vector<int>{0, -1, 1, 0})) << "round " << round;
  }
}

// SAVEAS and OPEN as a user types them: the opened drawing's records have their rows, and every
// mark its one reactor again.
TEST_F(RecordsInSessionTest, DrawingOpenedAgainHasEveryRecordRowAndMarkReactor) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 10000);
  const AcDbObjectId rectangle = drawRectangle("2", 10000, 10000);
  ASSERT_FALSE(plotTally(kGeneralSettings, {triangle, rectangle}).error) << transcript();
  ASSERT_FALSE(plotTally(kTriangleSettings, {triangle}, {"0,-20000"}).error) << transcript();
  const AcDbHandle marks[] = {triangle.handle(), rectangle.handle()};
  for (const char* extension : {".dxf", ".tdb"}) {
    const std::string path = TempPath(std::string("figures") + extension);
    ASSERT_EQ(run("SAVEAS\n" + path + "\nOPEN\n" + path + "\n").status, 0) << transcript();
    ASSERT_NE(acdbHostApplicationServices()->workingDatabase(), database()) << extension;
    const AcDbObjectId reopenedTriangle = idOf(marks[0]);
    const AcDbObjectId reopenedRectangle = idOf(marks[1]);
    EXPECT_EQ(State(reopenedTriangle), (std::vector<int>{1, 1, 1, 3})) << extension;
    EXPECT_EQ(State(reopenedRectangle), (std::vector<int>{1, -1, 1, 3})) << extension;
    ASSERT_EQ(run("CLOSE\n").status, 0) << transcript();
  }
}

}  // namespace
}  // namespace area::testing
