// DXF written by the platform and read back by it: the same drawing, the same handles, and the
// same text when it is written again.
#include <gtest/gtest.h>

#include "platform/drawing_files.h"
#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

class DxfRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { sample = SampleDrawing(); }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    reread.reset();
    sample.database.reset();
    TestRecord::Unregister();
  }

  // Writes the sample and reads it back into `reread`.
  void RoundTrip(const std::string& name) {
    path = TempPath(name);
    std::string error;
    ASSERT_TRUE(WriteDrawingFile(sample.database.get(), path, error)) << error;
    reread = ReadDrawingFile(path, error);
    ASSERT_TRUE(reread) << error;
    acdbHostApplicationServices()->setWorkingDatabase(reread.get());
  }

  template <typename T>
  T* Open(const AcDbObjectId& original) {
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, IdOf(reread.get(), original.handle().text()), AcDb::kForRead),
              Acad::eOk)
        << "handle " << original.handle().text();
    return object;
  }

  Sample sample;
  std::unique_ptr<AcDbDatabase> reread;
  std::string path;
};

TEST_F(DxfRoundTripTest, KeepsEntitiesWithTheirHandlesAndLayers) {
  std::vector<std::string> before = ModelSpaceSummary(sample.database.get());
  RoundTrip("entities.dxf");
  EXPECT_EQ(ModelSpaceSummary(reread.get()), before);
  EXPECT_GE(reread->handseed().value(), sample.database->handseed().value());
}

TEST_F(DxfRoundTripTest, KeepsGeometryAndTexts) {
  RoundTrip("geometry.dxf");
  auto* arc = Open<AcDbArc>(sample.arc);
  ASSERT_TRUE(arc);
  EXPECT_NEAR(arc->startAngle(), 0.25, 1e-12);
  EXPECT_NEAR(arc->endAngle(), 3.0, 1e-12);
  EXPECT_EQ(arc->center(), AcGePoint3d(5, 5, 0));
  arc->close();
  auto* text = Open<AcDbText>(sample.text);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->textString(), "テキスト 12.50");
  EXPECT_EQ(text->horizontalMode(), AcDb::kTextCenter);
  EXPECT_EQ(text->alignmentPoint(), AcGePoint3d(3, 2, 0));
  EXPECT_NEAR(text->rotation(), 0.5, 1e-12);
  text->close();
  auto* light = Open<AcDbPolyline>(sample.lwpolyline);
  ASSERT_TRUE(light);
  ASSERT_EQ(light->numVerts(), 3u);
  double bulge = 0;
  light->getBulgeAt(1, bulge);
  EXPECT_EQ(bulge, -0.25);
  EXPECT_TRUE(light->isClosed());
  light->close();
  auto* outline = Open<AcDb2dPolyline>(sample.polyline2d);
  ASSERT_TRUE(outline);
  EXPECT_TRUE(outline->isClosed());
  EXPECT_EQ(outline->vertexPositions().size(), 3u);
  EXPECT_FALSE(outline->sequenceEndId().isNull());
  outline->close();
}

TEST_F(DxfRoundTripTest, KeepsBlockAttributesAndLayersState) {
  RoundTrip("blocks.dxf");
  auto* insert = Open<AcDbBlockReference>(sample.insert);
  ASSERT_TRUE(insert);
  EXPECT_EQ(insert->blockName(), "AREA1");
  std::vector<std::string> values;
  for (AcDbObjectId id : insert->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    ASSERT_EQ(acdbOpenObject(attribute, id, AcDb::kForRead), Acad::eOk);
    values.push_back(attribute->tag() + "=" + attribute->textString());
    attribute->close();
  }
  insert->close();
  EXPECT_EQ(values, (std::vector<std::string>{"BANGO1=イ1", "KT=1"}));
  auto* block = Open<AcDbBlockTableRecord>(sample.block);
  ASSERT_TRUE(block);
  EXPECT_TRUE(block->hasAttributeDefinitions());
  block->close();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(reread->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* marks = nullptr;
  ASSERT_EQ(layers->getAt("MARKS", marks, AcDb::kForRead), Acad::eOk);
  layers->close();
  EXPECT_TRUE(marks->isOff());
  EXPECT_EQ(marks->colorIndex(), 3);
  marks->close();
}

TEST_F(DxfRoundTripTest, KeepsExtendedData) {
  RoundTrip("xdata.dxf");
  auto* line = Open<AcDbLine>(sample.line);
  ASSERT_TRUE(line);
  resbuf* data = line->xData("AREA_TRIANGLE");
  line->close();
  ASSERT_TRUE(data);
  std::vector<int> codes;
  for (resbuf* item = data; item; item = item->rbnext) codes.push_back(item->restype);
  EXPECT_EQ(codes, (std::vector<int>{1001, 1000, 1070, 1071, 1040, 1010, 1005, 1002, 1000, 1002}));
  const resbuf* point = data->rbnext->rbnext->rbnext->rbnext->rbnext;
  EXPECT_EQ(point->resval.rpoint[2], 3.25);
  EXPECT_EQ(std::string(point->rbnext->resval.rstring), sample.insert.handle().text());
  EXPECT_EQ(data->rbnext->rbnext->rbnext->resval.rlong, 70000);
  acutRelRb(data);
  AcDbRegAppTable* applications = nullptr;
  ASSERT_EQ(reread->getRegAppTable(applications, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(applications->has("AREA_TRIANGLE"));
  applications->close();
}

TEST_F(DxfRoundTripTest, KeepsGroupsAndTheirBackReferences) {
  RoundTrip("groups.dxf");
  auto* group = Open<AcDbGroup>(sample.anonymousGroup);
  ASSERT_TRUE(group);
  EXPECT_TRUE(group->isAnonymous());
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  group->close();
  ASSERT_EQ(members.length(), 3);
  EXPECT_EQ(members[0].handle(), sample.line.handle());
  auto* line = Open<AcDbLine>(sample.line);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->persistentReactors().size(), 1u);
  line->close();
  auto* named = Open<AcDbGroup>(sample.namedGroup);
  ASSERT_TRUE(named);
  EXPECT_EQ(named->name(), "OUTLINES");
  named->close();
}

TEST_F(DxfRoundTripTest, ApplicationObjectsReadThemselvesAfterTheEntitiesTheyOpen) {
  RoundTrip("records.dxf");
  AcDbDictionary* named = nullptr;
  ASSERT_EQ(reread->getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
  AcDbDictionary* shapes = nullptr;
  AcDbObject* found = nullptr;
  ASSERT_EQ(named->getAt("DICT_TEST", found, AcDb::kForRead), Acad::eOk);
  named->close();
  shapes = AcDbDictionary::cast(found);
  ASSERT_TRUE(shapes);
  AcDbObject* object = nullptr;
  ASSERT_EQ(shapes->getAt(sample.line.handle().text().c_str(), object, AcDb::kForRead), Acad::eOk);
  shapes->close();
  auto* record = TestRecord::cast(object);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->mark, sample.insert.handle());
  EXPECT_EQ(record->count, 2);
  EXPECT_EQ(record->label, "面積 1");
  EXPECT_TRUE(record->markOpenedOnRead);
  EXPECT_EQ(record->objectId().handle(), sample.record.handle());
  object->close();
}

TEST_F(DxfRoundTripTest, WritingWhatWasReadGivesTheSameText) {
  RoundTrip("first.dxf");
  std::string second = TempPath("second.dxf");
  std::string error;
  ASSERT_TRUE(WriteDrawingFile(reread.get(), second, error)) << error;
  EXPECT_EQ(ReadText(second), ReadText(path));
}

TEST_F(DxfRoundTripTest, WithoutTheApplicationItsObjectsAreKeptAndWrittenBackUnchanged) {
  std::string first = TempPath("with_application.dxf");
  std::string error;
  ASSERT_TRUE(WriteDrawingFile(sample.database.get(), first, error)) << error;
  std::string record = sample.record.handle().text();
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  sample.database.reset();
  TestRecord::Unregister();
  reread = ReadDrawingFile(first, error);
  ASSERT_TRUE(reread) << error;
  AcDbObject* kept = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(kept, IdOf(reread.get(), record), AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(AcDbUnknownObject::cast(kept));
  kept->close();
  std::string second = TempPath("without_application.dxf");
  ASSERT_TRUE(WriteDrawingFile(reread.get(), second, error)) << error;
  EXPECT_EQ(ReadText(second), ReadText(first));
}

TEST_F(DxfRoundTripTest, ObjectsMadeAfterReadingTakeHandlesAboveTheFilesSeed) {
  RoundTrip("handles.dxf");
  std::string text = ReadText(path);
  std::size_t seed = text.find("$HANDSEED\n  5\n");
  ASSERT_NE(seed, std::string::npos);
  AcDbHandle fileSeed(text.substr(seed + 15, text.find('\n', seed + 15) - seed - 15).c_str());
  AcDbObjectId added = Append(reread.get(), new AcDbLine(AcGePoint3d(), AcGePoint3d(1, 1, 0)));
  EXPECT_GE(added.handle().value(), fileSeed.value());
}

}  // namespace
}  // namespace tessera::files::testing
