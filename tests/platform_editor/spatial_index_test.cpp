// Picks and windows through the drawing's spatial index: after any edit, undo included, they
// find what a look at the shape of every entity finds.
#include <gtest/gtest.h>

#include <random>

#include "db/database_impl.h"
#include "editor/entity_names.h"
#include "editor/pick_geometry.h"
#include "editor/selection.h"
#include "editor/system_variables.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

using editor::IdList;

class SpatialIndexTest : public TestDrawing {
 protected:
  template <typename T>
  T* open(AcDbObjectId id) {
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
    return object;
  }

  // What a pick finds when every entity's shape is looked at.
  AcDbObjectId pickedByShapes(const AcGePoint3d& point) {
    double reach = editor::IntVariable("PICKBOX", 3);
    IdList ids = editor::ModelSpaceEntities(database());
    for (auto id = ids.rbegin(); id != ids.rend(); ++id)
      if (editor::DistanceTo(shapeOf(*id), {point.x, point.y}) <= reach) return *id;
    return {};
  }

  IdList windowedByShapes(const AcGePoint3d& a, const AcGePoint3d& b, bool crossing) {
    editor::Window window({a.x, a.y}, {b.x, b.y});
    IdList found;
    for (AcDbObjectId id : editor::ModelSpaceEntities(database())) {
      editor::Shape shape = shapeOf(id);
      if (crossing ? editor::CrossesWindow(shape, window) : editor::InsideWindow(shape, window))
        found.push_back(id);
    }
    return found;
  }

  editor::Shape shapeOf(AcDbObjectId id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return {};
    editor::Shape shape = editor::ShapeOf(entity, database());
    entity->close();
    return shape;
  }

  db::UndoLog& undo() { return db::Impl(database())->undo(); }

  AcDbObjectId addBlock(const char* name, AcDbEntity* member) {
    AcDbBlockTable* table = nullptr;
    database()->getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord;
    block->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Acad::eOk);
    table->close();
    block->appendAcDbEntity(member);
    member->close();
    block->close();
    return id;
  }
};

// Lines, circles and texts of sizes from a hundredth to thousands of units, moved, erased, made
// and taken back by undo at random; every so often picks and windows are compared with the
// shapes, in the world and in a turned UCS.
TEST_F(SpatialIndexTest, PicksAndWindowsFindWhatTheShapesShowThroughEdits) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<double> place(-5000.0, 5000.0);
  std::uniform_real_distribution<double> exponent(-2.0, 3.5);
  auto size = [&] { return std::pow(10.0, exponent(random)); };
  auto point = [&] { return AcGePoint3d(place(random), place(random), 0); };
  auto addOne = [&] {
    AcGePoint3d at = point();
    switch (random() % 3) {
      case 0:
        return addLine(at, at + AcGeVector3d(size(), size() - size(), 0));
      case 1:
        return addCircle(at, size());
      default:
        return addText(at, "12.34", size());
    }
  };
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 300; ++i) ids.push_back(addOne());
  for (int round = 0; round < 60; ++round) {
    undo().closeStep();
    undo().beginCommand("EDIT");
    for (int edit = 0; edit < 5; ++edit) {
      AcDbObjectId id = ids[random() % ids.size()];
      AcDbEntity* entity = nullptr;
      if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
      if (auto* line = AcDbLine::cast(entity)) line->setEndPoint(point());
      if (auto* circle = AcDbCircle::cast(entity)) circle->setRadius(size());
      if (auto* text = AcDbText::cast(entity)) text->setPosition(point());
      if (random() % 4 == 0) entity->erase();
      entity->close();
      if (random() % 3 == 0) ids.push_back(addOne());
    }
    undo().endCommand();
    if (round % 3 == 2) undo().undo(1);
    if (round == 30)
      database()->setUcs({100, -300, 0}, AcGeVector3d(1, 1, 0), AcGeVector3d(-1, 1, 0));
    for (int probe = 0; probe < 10; ++probe) {
      AcGePoint3d p = point(), q = p + AcGeVector3d(size(), size(), 0);
      ASSERT_EQ(editor::PickAt(database(), p), pickedByShapes(p)) << round;
      ASSERT_EQ(editor::SelectByWindow(database(), p, q, false), windowedByShapes(p, q, false));
      ASSERT_EQ(editor::SelectByWindow(database(), q, p, true), windowedByShapes(q, p, true));
    }
  }
}

// A block reference is where its definition's entities are: moving one of them moves the
// reference for picks; a polyline is where its vertices are, even when a vertex moves alone.
TEST_F(SpatialIndexTest, ReferencesFollowTheirBlockAndPolylinesTheirVertices) {
  auto* member = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbObjectId block = addBlock("LOT", member);
  AcDbObjectId memberId = member->objectId();
  auto* reference = new AcDbBlockReference(AcGePoint3d(1000, 0, 0), block);
  AcDbObjectId referenceId = append(reference);
  AcDbObjectId polyline = add2dPolyline({{0, 500, 0}, {10, 500, 0}, {10, 510, 0}}, false);
  ASSERT_EQ(editor::PickAt(database(), {1005, 0, 0}), referenceId);
  ASSERT_EQ(editor::PickAt(database(), {10, 505, 0}), polyline);

  auto* line = open<AcDbLine>(memberId);
  line->setStartPoint({0, 300, 0});
  line->setEndPoint({10, 300, 0});
  line->close();
  EXPECT_EQ(editor::PickAt(database(), {1005, 300, 0}), referenceId);
  EXPECT_TRUE(editor::PickAt(database(), {1005, 0, 0}).isNull());

  auto* outline = open<AcDb2dPolyline>(polyline);
  AcDbObjectId lastVertex = outline->vertexIds().back();
  outline->close();
  auto* vertex = open<AcDb2dVertex>(lastVertex);
  vertex->setPosition({10, 900, 0});
  vertex->close();
  EXPECT_EQ(editor::PickAt(database(), {10, 800, 0}), polyline);
}

// entnext steps through model space in drawing order, past erased entities.
TEST_F(SpatialIndexTest, EntNextWalksDrawingOrderPastErasedEntities) {
  std::vector<AcDbObjectId> lines;
  for (int i = 0; i < 6; ++i) lines.push_back(addLine({0, i * 10.0, 0}, {5, i * 10.0, 0}));
  for (int erased : {0, 3, 5}) {
    AcDbEntity* entity = open<AcDbEntity>(lines[erased]);
    entity->erase();
    entity->close();
  }
  IdList walked;
  ads_name name = {0, 0}, next;
  while (acdbEntNext(name, next) == RTNORM) {
    AcDbObjectId id;
    acdbGetObjectId(id, next);
    walked.push_back(id);
    name[0] = next[0];
    name[1] = next[1];
  }
  EXPECT_EQ(walked, (IdList{lines[1], lines[2], lines[4]}));
}

}  // namespace
}  // namespace tessera::testing
