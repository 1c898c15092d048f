// Edit commands on each entity kind: grip drags, crossing stretches, moves and copies, with
// what the reactors hear of them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class EditCommandsTest : public TestDrawing {
 protected:
  // Runs a script whose lines may name an entity as %E (its entity name, through handent).
  void edit(const std::string& script) {
    ScriptOutcome outcome = run(script);
    ASSERT_EQ(outcome.status, 0) << outcome.message << "\n" << transcript();
  }
  std::string pick(AcDbObjectId id) { return "(handent \"" + handleText(id) + "\")\n"; }
};

TEST_F(EditCommandsTest, GripOnALineEndMovesThatEndAndOnItsMiddleMovesTheLine) {
  AcDbObjectId line = addLine({0, 0, 0}, {10, 0, 0});
  edit("GRIP_STRETCH\n" + pick(line) + "\n10,0\n10,5\n");
  AcDbLine* opened = open<AcDbLine>(line);
  EXPECT_EQ(opened->startPoint(), AcGePoint3d(0, 0, 0));
  EXPECT_EQ(opened->endPoint(), AcGePoint3d(10, 5, 0));
  opened->close();
  edit("GRIP_STRETCH\n" + pick(line) + "\n5,2.5\n6,2.5\n");
  opened = open<AcDbLine>(line);
  EXPECT_EQ(opened->startPoint(), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(opened->endPoint(), AcGePoint3d(11, 5, 0));
  opened->close();
}

TEST_F(EditCommandsTest, GripOnACircle) {
  AcDbObjectId circle = addCircle({0, 0, 0}, 5);
  edit("GRIP_STRETCH\n" + pick(circle) + "\n0,5\n0,8\n");  // a quadrant: the radius follows
  AcDbCircle* opened = open<AcDbCircle>(circle);
  EXPECT_DOUBLE_EQ(opened->radius(), 8.0);
  opened->close();
  edit("GRIP_STRETCH\n" + pick(circle) + "\n0,0\n3,4\n");  // the centre: it moves
  opened = open<AcDbCircle>(circle);
  EXPECT_EQ(opened->center(), AcGePoint3d(3, 4, 0));
  EXPECT_DOUBLE_EQ(opened->radius(), 8.0);
  opened->close();
}

TEST_F(EditCommandsTest, GripOnAnArcEndTurnsThatEndKeepingCentreAndRadius) {
  AcDbObjectId arc = addArc({0, 0, 0}, 10, 0.0, std::numbers::pi / 2);
  edit("GRIP_STRETCH\n" + pick(arc) + "\n10,0\n0,-3\n");
  AcDbArc* opened = open<AcDbArc>(arc);
  EXPECT_EQ(opened->center(), AcGePoint3d(0, 0, 0));
  EXPECT_DOUBLE_EQ(opened->radius(), 10.0);
  EXPECT_NEAR(opened->startAngle(), 1.5 * std::numbers::pi, 1e-12);
  opened->close();
}

TEST_F(EditCommandsTest, GripOnAPolylineVertexMovesOnlyThatVertex) {
  AcDbObjectId polyline = add2dPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, true);
  edit("GRIP_STRETCH\n" + pick(polyline) + "\n10,10\n12,14\n");
  AcDb2dPolyline* opened = open<AcDb2dPolyline>(polyline);
  std::vector<AcGePoint3d> points = opened->vertexPositions();
  opened->close();
  EXPECT_EQ(points, (std::vector<AcGePoint3d>{{0, 0, 0}, {10, 0, 0}, {12, 14, 0}}));
}

TEST_F(EditCommandsTest, GripAwayFromEveryGripChangesNothing) {
  AcDbObjectId line = addLine({0, 0, 0}, {10, 0, 0});
  edit("GRIP_STRETCH\n" + pick(line) + "\n10.01,0\n10,5\n");
  AcDbLine* opened = open<AcDbLine>(line);
  EXPECT_EQ(opened->endPoint(), AcGePoint3d(10, 0, 0));
  opened->close();
}

// Counts how often each object is opened for a change and reported changed.
class ChangeCounter : public AcDbDatabaseReactor {
 public:
  void objectOpenedForModify(const AcDbDatabase*, const AcDbObject* object) override {
    ++opened[object->objectId()];
  }
  void objectModified(const AcDbDatabase*, const AcDbObject* object) override {
    ++modified[object->objectId()];
  }
  std::map<AcDbObjectId, int> opened;
  std::map<AcDbObjectId, int> modified;
};

TEST_F(EditCommandsTest, EachGrippedEntityIsChangedOnce) {
  AcDbObjectId a = addLine({0, 0, 0}, {10, 0, 0});
  AcDbObjectId b = addLine({10, 0, 0}, {10, 10, 0});
  ChangeCounter counter;
  database()->addReactor(&counter);
  edit("GRIP_STRETCH\n" + pick(a) + pick(b) + "\n10,0\n11,1\n");
  database()->removeReactor(&counter);
  EXPECT_EQ(counter.modified[a], 1);
  EXPECT_EQ(counter.modified[b], 1);
  AcDbLine* line = open<AcDbLine>(b);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(11, 1, 0));
  line->close();
}

TEST_F(EditCommandsTest, StretchMovesWhatIsInsideAndTheInsidePointsOfWhatCrosses) {
  AcDbObjectId inside = addCircle({1, 1, 0}, 0.5);
  AcDbObjectId crossing = addLine({0, 0, 0}, {20, 0, 0});
  AcDbObjectId outside = addLine({50, 50, 0}, {60, 50, 0});
  edit("STRETCH\nC\n-5,-5\n5,5\n\n0,0\n3,0\n");
  AcDbCircle* circle = open<AcDbCircle>(inside);
  EXPECT_EQ(circle->center(), AcGePoint3d(4, 1, 0));
  circle->close();
  AcDbLine* line = open<AcDbLine>(crossing);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(3, 0, 0));
  EXPECT_EQ(line->endPoint(), AcGePoint3d(20, 0, 0));
  line->close();
  line = open<AcDbLine>(outside);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(50, 50, 0));
  line->close();
}

TEST_F(EditCommandsTest, MoveMovesABlockReferenceWithItsAttributes) {
  edit("(command \"-INSERT\" \"AREA1\" \"5,5\" 1 1 0 \"1\" \"\" 1 \"( )\" \"+\")\n");
  AcDbObjectId mark = entities().back();
  std::vector<AcGePoint3d> before;
  AcDbBlockReference* reference = open<AcDbBlockReference>(mark);
  for (AcDbObjectId id : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    reference->openAttribute(attribute, id, AcDb::kForRead);
    before.push_back(attribute->position());
    attribute->close();
  }
  reference->close();
  edit("MOVE\n" + pick(mark) + "\n0,0\n10,-2\n");
  reference = open<AcDbBlockReference>(mark);
  EXPECT_EQ(reference->position(), AcGePoint3d(15, 3, 0));
  std::size_t i = 0;
  for (AcDbObjectId id : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    reference->openAttribute(attribute, id, AcDb::kForRead);
    EXPECT_EQ(attribute->position(), before[i++] + AcGeVector3d(10, -2, 0));
    attribute->close();
  }
  reference->close();
}

class CopyWatcher : public AcDbObjectReactor {
 public:
  void copied(const AcDbObject* source, const AcDbObject* copy) override {
    pairs.emplace_back(source->objectId(), copy->objectId());
  }
  std::vector<std::pair<AcDbObjectId, AcDbObjectId>> pairs;
};

// Notes, when a group is added, which members it already has.
class GroupWatcher : public AcDbDatabaseReactor {
 public:
  void objectAppended(const AcDbDatabase*, const AcDbObject* object) override {
    if (auto* group = AcDbGroup::cast(object)) memberCounts.push_back(group->memberIds().size());
  }
  std::vector<std::size_t> memberCounts;
};

TEST_F(EditCommandsTest, CopyCopiesGroupsAndTellsTheSourcesReactors) {
  AcDbObjectId a = addLine({0, 0, 0}, {10, 0, 0});
  AcDbObjectId b = addCircle({5, 5, 0}, 2);
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(database()->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
  auto* group = new AcDbGroup;
  AcDbObjectId groupId;
  ASSERT_EQ(groups->setAt("*", group, groupId), Acad::eOk);
  groups->close();
  group->append(a);
  group->append(b);
  group->close();
  CopyWatcher watcher;
  AcDbEntity* entity = open<AcDbEntity>(b);
  entity->addReactor(&watcher);
  entity->close();
  GroupWatcher groupWatcher;
  database()->addReactor(&groupWatcher);

  edit("COPY\n" + pick(a) + pick(b) + "\n0,0\n100,0\n100,100\n\n");
  database()->removeReactor(&groupWatcher);
  entity = open<AcDbEntity>(b);
  entity->removeReactor(&watcher);
  entity->close();

  EXPECT_EQ(entities().size(), 6u);
  ASSERT_EQ(watcher.pairs.size(), 2u);
  EXPECT_EQ(watcher.pairs[0].first, b);
  AcDbCircle* copy = open<AcDbCircle>(watcher.pairs[1].second);
  EXPECT_EQ(copy->center(), AcGePoint3d(105, 105, 0));
  copy->close();
  EXPECT_EQ(groupWatcher.memberCounts, (std::vector<std::size_t>{2, 2}))
      << "each copied group is added with its members in it";
  ASSERT_EQ(database()->getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(groups->numEntries(), 3u);
  groups->close();
}

TEST_F(EditCommandsTest, EraseAndOops) {
  AcDbObjectId line = addLine({0, 0, 0}, {10, 0, 0});
  edit("ERASE\n5,0\n\n");
  EXPECT_TRUE(line.isErased());
  edit("OOPS\n");
  EXPECT_FALSE(line.isErased());
}

TEST_F(EditCommandsTest, TextEditAndAttributeEdit) {
  AcDbObjectId text = addText({0, 0, 0}, "old", 2.5);
  edit("TEXTEDIT\n" + pick(text) + "new text\n");
  AcDbText* opened = open<AcDbText>(text);
  EXPECT_EQ(opened->textString(), "new text");
  opened->close();

  edit("(command \"-INSERT\" \"AREA1\" \"5,5\" 1 1 0 \"1\" \"\" 1 \"( )\" \"+\")\n");
  AcDbObjectId mark = entities().back();
  ChangeCounter counter;
  database()->addReactor(&counter);
  // A line that starts with "(" is LISP, so a value list is given as a LISP string.
  edit("-ATTEDIT\n" + pick(mark) + "sk\n(strcat \"( 1.00 2.00 )\")\n");
  database()->removeReactor(&counter);
  EXPECT_EQ(counter.modified[mark], 1) << "the reference is reported changed after its attribute";
  AcDbBlockReference* reference = open<AcDbBlockReference>(mark);
  bool found = false;
  for (AcDbObjectId id : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    reference->openAttribute(attribute, id, AcDb::kForRead);
    if (attribute->tag() == "SK") found = attribute->textString() == "( 1.00 2.00 )";
    attribute->close();
  }
  reference->close();
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace tessera::testing
