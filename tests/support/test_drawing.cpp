// The drawing fixture for editor tests.
#include "support/test_drawing.h"

#include "editor/system_variables.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/transcript.h"

namespace tessera::testing {

void TestDrawing::SetUp() {
  CloseAllDrawings();
  editor::ResetSessionVariables();
  Transcript::instance().setSink(&m_transcript);
  std::string error;
  m_document = NewDrawing(error);
  ASSERT_NE(m_document, nullptr) << error;
}

void TestDrawing::TearDown() {
  UnloadAllApplications();
  CloseAllDrawings();
  Transcript::instance().finishLine();
  Transcript::instance().setSink(nullptr);
}

ScriptOutcome TestDrawing::run(const std::string& script) {
  return RunScriptText(script, "test.scr");
}

AcDbObjectId TestDrawing::append(AcDbEntity* entity) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(database()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
  table->close();
  AcDbObjectId id;
  entity->setDatabaseDefaults(database());
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  space->close();
  entity->close();
  return id;
}

AcDbObjectId TestDrawing::addLine(const AcGePoint3d& from, const AcGePoint3d& to) {
  return append(new AcDbLine(from, to));
}

AcDbObjectId TestDrawing::addCircle(const AcGePoint3d& center, double radius) {
  return append(new AcDbCircle(center, AcGeVector3d::kZAxis, radius));
}

AcDbObjectId TestDrawing::addArc(const AcGePoint3d& center, double radius, double start,
                                 double end) {
  return append(new AcDbArc(center, radius, start, end));
}

AcDbObjectId TestDrawing::addText(const AcGePoint3d& position, const char* text, double height) {
  return append(new AcDbText(position, text, AcDbObjectId::kNull, height, 0.0));
}

AcDbObjectId TestDrawing::addLightPolyline(const std::vector<AcGePoint2d>& points, bool closed) {
  auto* polyline = new AcDbPolyline(static_cast<unsigned int>(points.size()));
  for (unsigned int i = 0; i < points.size(); ++i) polyline->addVertexAt(i, points[i]);
  polyline->setClosed(closed);
  return append(polyline);
}

AcDbObjectId TestDrawing::add2dPolyline(const std::vector<AcGePoint3d>& points, bool closed) {
  AcGePoint3dArray vertices;
  for (const AcGePoint3d& point : points) vertices.append(point);
  return append(new AcDb2dPolyline(AcDb::k2dSimplePoly, vertices, 0.0, closed));
}

std::vector<AcDbObjectId> TestDrawing::entities() const {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTable* table = nullptr;
  if (database()->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return ids;
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  table->close();
  if (space == nullptr) return ids;
  for (const AcDbObjectId& id : space->entityIds())
    if (!id.isErased()) ids.push_back(id);
  space->close();
  return ids;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const std::string& candidate : Lines(text))
    if (candidate == line) return true;
  return false;
}

}  // namespace tessera::testing
