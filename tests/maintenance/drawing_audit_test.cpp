// The drawing audit on faults the drawing scripts cannot make: a part out of the figure's group, a
// part tagged with another role, and marks that no record lists, in both value-list forms and
// badly formed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "maintenance/drawing_audit.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"
#include "schedule/schedule_drawing.h"

namespace area::testing {
namespace {

class DrawingAuditTest : public ScheduleDrawing {
 protected:
  // The triangle's height line, through its record.
  AcDbObjectId heightLineOf(AcDbObjectId mark) {
    FigureRecord* record = FindRecordByMark(kDictTriangle, mark, AcDb::kForRead);
    EXPECT_NE(record, nullptr);
    if (record == nullptr) return {};
    AcDbHandle handle;
    record->shapeHandle(AreaDic_Triangle::kHeightLine, handle);
    record->close();
    AcDbObjectId id;
    ResolveHandle(handle, id);
    return id;
  }

  void takeOutOfGroups(AcDbObjectId entity) {
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getGroupDictionary(groups,
                                                                                   AcDb::kForRead),
              Acad::eOk);
    std::unique_ptr<AcDbDictionaryIterator> entry(groups->newIterator());
    for (; !entry->done(); entry->next()) {
      AcDbGroup* group = nullptr;
      if (acdbOpenObject(group, entry->objectId(), AcDb::kForWrite) != Acad::eOk) continue;
      if (group->has(entity)) group->remove(entity);
      group->close();
    }
    groups->close();
  }

  static std::vector<std::string> Subjects(const std::vector<AuditFinding>& findings) {
    std::vector<std::string> subjects;
    for (const AuditFinding& finding : findings)
      subjects.push_back(finding.subject + " " + finding.problem);
    return subjects;
  }
};

TEST_F(DrawingAuditTest, APartOutOfItsGroupIsFoundAndPutBack) {
  const AcDbObjectId mark = drawTriangle("1", 0, 0);
  const AcDbObjectId line = heightLineOf(mark);
  takeOutOfGroups(line);

  const std::optional<AuditReport> report = AuditDrawing();
  ASSERT_TRUE(report);
  ASSERT_EQ(Subjects(report->findings),
            std::vector<std::string>{"height line is not in the figure's group"});
  EXPECT_EQ(report->findings[0].handle, HandleText(line));
  EXPECT_TRUE(report->findings[0].mendable);

  EXPECT_EQ(MendDrawing(), 1);
  EXPECT_TRUE(AuditDrawing()->findings.empty());
}

TEST_F(DrawingAuditTest, APartTaggedWithAnotherRoleIsFoundAndLeft) {
  const AcDbObjectId line = heightLineOf(drawTriangle("1", 0, 0));
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, line, AcDb::kForWrite), Acad::eOk);
  resbuf* bare = acutBuildList(AcDb::kDxfRegAppName, "AREA_TRIANGLE", AcDb::kDxfXdAsciiString,
                               "TYPE_VAL", RTNONE);
  EXPECT_EQ(entity->setXData(bare), Acad::eOk);
  acutRelRb(bare);
  entity->close();

  const std::optional<AuditReport> report = AuditDrawing();
  ASSERT_TRUE(report);
  EXPECT_EQ(Subjects(report->findings),
            std::vector<std::string>{"height line lacks the extended data AREA_TRIANGLE TYPE_SUB"});
  EXPECT_FALSE(report->findings[0].mendable);
  EXPECT_EQ(MendDrawing(), 0);
}

TEST_F(DrawingAuditTest, UnlinkedMarksAreListedAndABadValueListIsAFinding) {
  drawTriangle("1", 0, 0);
  insertMark("8", 1, "(4.00000000 2.00000000 8.00000000 4.00000000)", "+", 20000, 0);
  insertMark("9", 2, "( 2.00 abc 2.00 )", "+", 30000, 0);

  const std::optional<AuditReport> report = AuditDrawing();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->figures, 1);
  EXPECT_EQ(report->unlinked.size(), 2u);
  ASSERT_EQ(report->findings.size(), 1u);
  EXPECT_EQ(report->findings[0].label, "9");
  EXPECT_EQ(report->findings[0].shape, "rectangle");
  EXPECT_FALSE(report->findings[0].mendable);
}

}  // namespace
}  // namespace area::testing
