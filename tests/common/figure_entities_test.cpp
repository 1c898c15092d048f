// Drawing primitives against a real drawing: tags accumulate under one application, groups keep
// the figure's order, creation fails cleanly on a missing layer, polylines with doubled vertices
// are refused when read back, and marks are read and updated by their attribute tags.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/geometry.h"
#include "common/layers.h"
#include "common/marks.h"

namespace area {
namespace {

class PrimitivesTest : public ::testing::Test {
 public:
  void SetUp() override {
    database = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
  }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    database.reset();
  }

  std::vector<std::string> StringsOf(AcDbObjectId id, const char* application) {
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    resbuf* xdata = entity->xData(application);
    entity->close();
    std::vector<std::string> strings;
    for (resbuf* item = xdata; item != nullptr; item = item->rbnext)
      strings.push_back(std::to_string(item->restype) + ":" + item->resval.rstring);
    acutRelRb(xdata);
    return strings;
  }

  std::unique_ptr<AcDbDatabase> database;
};

TEST_F(PrimitivesTest, TaggingTwiceAppendsToTheSameBlock) {
  const AcDbObjectId line = MakeLine({0, 0, 0}, {10, 0, 0}, EntityStyle{});
  ASSERT_FALSE(line.isNull());
  EXPECT_TRUE(TagEntity(line, kTriangleApp, kRoleAuxiliary));
  EXPECT_TRUE(TagEntity(line, kTriangleApp, kRoleValue));
  EXPECT_TRUE(TagEntity(line, kCircleApp, kRoleOutline));
  EXPECT_EQ(StringsOf(line, kTriangleApp),
            (std::vector<std::string>{"1001:AREA_TRIANGLE", "1000:TYPE_SUB", "1000:TYPE_VAL"}));
  EXPECT_EQ(StringsOf(line, kCircleApp),
            (std::vector<std::string>{"1001:AREA_CIRCLE", "1000:TYPE_OUT"}));
  EXPECT_FALSE(TagEntity(AcDbObjectId(), kTriangleApp, kRoleMark));
}

TEST_F(PrimitivesTest, GroupKeepsTheListOrder) {
  AcDbObjectIdArray ids;
  ids.append(MakeCircle({0, 0, 0}, 5, EntityStyle{}));
  ids.append(MakeLine({0, 0, 0}, {5, 0, 0}, EntityStyle{}));
  ids.append(MakeArc({0, 0, 0}, 1, 0, 1, EntityStyle{}));
  ASSERT_TRUE(MakeGroup(ids));
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(database->getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
  const auto entries = groups->entries();
  groups->close();
  ASSERT_EQ(entries.size(), 1u);
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, entries[0].second, AcDb::kForRead), Acad::eOk);
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  EXPECT_TRUE(group->isAnonymous());
  group->close();
  ASSERT_EQ(members.length(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(members[i], ids[i]) << "member " << i;
}

TEST_F(PrimitivesTest, MissingLayerMakesCreationFailWithoutLeavingAnEntity) {
  EXPECT_TRUE(MakeLine({0, 0, 0}, {1, 0, 0}, OnLayer("NO_SUCH_LAYER")).isNull());
  TextDraft text;
  text.text = "1.00";
  EXPECT_TRUE(MakeText(text, OnLayer("NO_SUCH_LAYER")).isNull());
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(database->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* modelSpace = nullptr;
  ASSERT_EQ(blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForRead), Acad::eOk);
  blocks->close();
  EXPECT_TRUE(modelSpace->entityIds().empty());
  modelSpace->close();
  const AcDbObjectId line = MakeLine({0, 0, 0}, {1, 0, 0}, OnLayer("0"));
  EXPECT_FALSE(SetEntityLayer(line, "NO_SUCH_LAYER"));
  EXPECT_TRUE(SetEntityLayer(line, "0"));
}

TEST_F(PrimitivesTest, ValueTextsAreCentredOnTheirBottomAtTheAlignmentPoint) {
  TextDraft draft;
  draft.position = {5, 1, 0};
  draft.text = "4.00";
  draft.rotation = 1.0;
  draft.horizontalMode = AcDb::kTextCenter;
  draft.verticalMode = AcDb::kTextBottom;
  const AcDbObjectId id = MakeText(draft, OnLayer("0"));
  AcDbText* text = nullptr;
  ASSERT_EQ(acdbOpenObject(text, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(text->textString(), "4.00");
  EXPECT_EQ(text->horizontalMode(), AcDb::kTextCenter);
  EXPECT_EQ(text->verticalMode(), AcDb::kTextBottom);
  EXPECT_EQ(text->alignmentPoint(), AcGePoint3d(5, 1, 0));
  EXPECT_DOUBLE_EQ(text->rotation(), 1.0);
  text->close();
}

TEST_F(PrimitivesTest, PolylineWithDoubledVertexIsNotReadAsAFigure) {
  AcGePoint3dArray points;
  for (const AcGePoint3d& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0),
                               AcGePoint3d(10, 0.00005, 0), AcGePoint3d(0, 10, 0)})
    points.append(p);
  const AcDbObjectId doubled = MakePolyline2d(points, true, EntityStyle{});
  AcGePoint3dArray read;
  EXPECT_FALSE(PolylineVertices2d(doubled, read));
  points.removeAt(2);
  const AcDbObjectId clean = MakePolyline2d(points, true, EntityStyle{});
  AcGePoint3dArray again;
  ASSERT_TRUE(PolylineVertices2d(clean, again));
  ASSERT_EQ(again.length(), 3);
  EXPECT_EQ(again[1], AcGePoint3d(10, 0, 0));
  AcGePoint3dArray none;
  EXPECT_FALSE(PolylineVertices2d(MakeLine({0, 0, 0}, {1, 1, 0}, EntityStyle{}), none));
}

// A block reference with the mark's attributes, as the INSERT of the mark block leaves it.
AcDbObjectId MakeMark(const std::vector<std::pair<const char*, const char*>>& attributes) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* blocks = nullptr;
  database->getBlockTable(blocks, AcDb::kForRead);
  AcDbBlockTableRecord* modelSpace = nullptr;
  blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  blocks->close();
  auto* mark = new AcDbBlockReference(AcGePoint3d(100, 100, 0), AcDbObjectId());
  AcDbObjectId id;
  modelSpace->appendAcDbEntity(id, mark);
  modelSpace->close();
  for (const auto& [tag, text] : attributes) {
    auto* attribute = new AcDbAttribute();
    attribute->setTag(tag);
    attribute->setTextString(text);
    attribute->setPosition(AcGePoint3d(101, 100, 0));
    attribute->setAlignmentPoint(AcGePoint3d(102, 100, 0));
    mark->appendAttribute(attribute);
    attribute->close();
  }
  mark->close();
  return id;
}

TEST_F(PrimitivesTest, ReadMarkTakesTheLaterLabelAndTheExactMinusSign) {
  AcDbHandle handle = MakeMark({{kLabelShortTag, "1"},
                                {kLabelLongTag, "ABC"},
                                {kShapeCodeTag, "1"},
                                {kValueListTag, "( 3 4 12 6 )"},
                                {kSignTag, "-"}})
                          .handle();
  MarkContents contents;
  ASSERT_TRUE(ReadMark(handle, contents));
  EXPECT_EQ(contents.label, "ABC");
  EXPECT_EQ(contents.valueList, "( 3 4 12 6 )");
  EXPECT_TRUE(contents.negative);

  AcDbHandle plus =
      MakeMark({{kLabelShortTag, "2"}, {kValueListTag, "( 1 2 )"}, {kSignTag, "--"}}).handle();
  MarkContents other;
  ASSERT_TRUE(ReadMark(plus, other));
  EXPECT_FALSE(other.negative) << "only a lone minus subtracts";

  AcDbHandle unlabelled = MakeMark({{kLabelShortTag, ""}, {kValueListTag, "( 1 2 )"}}).handle();
  MarkContents missing;
  EXPECT_FALSE(ReadMark(unlabelled, missing));
}

TEST_F(PrimitivesTest, UpdateMarkMovesAttributesWithTheMark) {
  AcDbHandle handle = MakeMark({{kLabelShortTag, "1"}, {kValueListTag, "( 1 2 )"}}).handle();
  ASSERT_TRUE(UpdateMark(handle, AcGePoint3d(110, 90, 0), "( 5 6 )", true));
  AcDbObjectId id;
  ASSERT_EQ(database->getAcDbObjectId(id, false, handle), Acad::eOk);
  AcDbBlockReference* mark = nullptr;
  ASSERT_EQ(acdbOpenObject(mark, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(mark->position(), AcGePoint3d(110, 90, 0));
  std::vector<std::string> texts;
  for (const AcDbObjectId& attributeId : mark->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    ASSERT_EQ(mark->openAttribute(attribute, attributeId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(attribute->position(), AcGePoint3d(111, 90, 0));
    EXPECT_EQ(attribute->alignmentPoint(), AcGePoint3d(112, 90, 0));
    texts.push_back(attribute->textString());
    attribute->close();
  }
  mark->close();
  EXPECT_EQ(texts, (std::vector<std::string>{"1", "( 5 6 )"}));
}

}  // namespace
}  // namespace area
