// The definitions behind sample_drawing.h (test code: inline, one header per test program).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {

inline AcRxClass*& TestRecordClass() {
  static AcRxClass* registered = nullptr;
  return registered;
}

inline AcRxClass* TestRecord::desc() {
  return TestRecordClass();
}

inline void TestRecord::Register() {
  if (TestRecordClass() != nullptr) return;
  TestRecordClass() = newAcRxClass(
      "TestRecord", "AcDbObject", 27, 1, 0, []() -> AcRxObject* { return new TestRecord; },
      "TEST_RECORD", "Tessera Test Application");
}

inline void TestRecord::Unregister() {
  if (TestRecordClass() == nullptr) return;
  deleteAcRxClass(TestRecordClass());
  TestRecordClass() = nullptr;
}

inline void TestRecord::openMark() {
  AcDbObjectId id;
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  if (drawing == nullptr || drawing->getAcDbObjectId(id, false, mark) != Acad::eOk) return;
  AcDbObject* opened = nullptr;
  if (acdbOpenAcDbObject(opened, id, AcDb::kForRead) != Acad::eOk) return;
  markOpenedOnRead = true;
  opened->close();
}

inline Acad::ErrorStatus TestRecord::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeAcDbHandle(mark);
  filer->writeInt16(count);
  filer->writeString(label);
  return filer->filerStatus();
}

inline Acad::ErrorStatus TestRecord::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  filer->readAcDbHandle(&mark);
  filer->readInt16(&count);
  filer->readString(&label);
  if (filer->filerStatus() == Acad::eOk) openMark();
  return filer->filerStatus();
}

inline Acad::ErrorStatus TestRecord::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbObject::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "TestRecord");
  filer->writeAcDbHandle(AcDb::kDxfHandle, mark);
  filer->writeInt16(70, count);
  filer->writeString(300, label);
  return filer->filerStatus();
}

inline Acad::ErrorStatus TestRecord::dxfInFields(AcDbDxfFiler* filer) {
  if (AcDbObject::dxfInFields(filer) != Acad::eOk || !filer->atSubclassData("TestRecord"))
    return filer->filerStatus();
  resbuf item{};
  while (filer->readItem(&item) == Acad::eOk) {
    switch (item.restype) {
      case AcDb::kDxfHandle:
        mark = AcDbHandle(item.resval.rstring);
        openMark();
        break;
      case 70:
        count = item.resval.rint;
        break;
      case 300:
        label = item.resval.rstring;
        break;
      default:
        filer->pushBackItem();
        return Acad::eInvalidDxfCode;
    }
  }
  return filer->filerStatus();
}

inline AcDbObjectId Append(AcDbDatabase* database, AcDbEntity* entity,
                           const char* block = ACDB_MODEL_SPACE) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(database->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(table->getAt(block, space, AcDb::kForWrite), Acad::eOk);
  table->close();
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  space->close();
  entity->close();
  return id;
}

inline void AddLayer(AcDbDatabase* database, const char* name, Adesk::UInt16 color, bool off) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(database->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* layer = new AcDbLayerTableRecord;
  layer->setName(name);
  layer->setColorIndex(color);
  layer->setIsOff(off);
  EXPECT_EQ(layers->add(layer), Acad::eOk);
  layer->close();
  layers->close();
}

inline AcDbObjectId AddBlock(AcDbDatabase* database, const char* name) {
  AcDbBlockTable* blocks = nullptr;
  EXPECT_EQ(database->getBlockTable(blocks, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord;
  block->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(blocks->add(id, block), Acad::eOk);
  block->close();
  blocks->close();
  return id;
}

inline void SetXData(AcDbObjectId id, const char* application, AcDbObjectId other) {
  acdbRegApp(application);
  ads_point at = {1.5, -2.0, 3.25};
  std::string handle = other.handle().text();
  resbuf* data =
      acutBuildList(1001, application, 1000, "TYPE_OUT", 1070, 3, 1071, 70000, 1040, 2.5, 1010, at,
                    1005, handle.c_str(), 1002, "{", 1000, "イ1", 1002, "}", 0);
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(object->setXData(data), Acad::eOk);
  object->close();
  acutRelRb(data);
}

inline AcDbObjectId AddGroup(AcDbDatabase* database, const char* key,
                             const std::vector<AcDbObjectId>& members) {
  AcDbDictionary* groups = nullptr;
  EXPECT_EQ(database->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
  auto* group = new AcDbGroup("sample group");
  AcDbObjectId id;
  EXPECT_EQ(groups->setAt(key, group, id), Acad::eOk);
  groups->close();
  for (AcDbObjectId member : members) EXPECT_EQ(group->append(member), Acad::eOk);
  group->close();
  return id;
}

inline Sample SampleDrawing() {
  Sample s;
  s.database = std::make_unique<AcDbDatabase>(true);
  AcDbDatabase* db = s.database.get();
  acdbHostApplicationServices()->setWorkingDatabase(db);
  AddLayer(db, "WALLS", 1, false);
  AddLayer(db, "MARKS", 3, true);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 0));
  line->setLayer("WALLS");
  line->setColorIndex(5);
  s.line = Append(db, line);
  s.arc = Append(db, new AcDbArc(AcGePoint3d(5, 5, 0), 2.0, 0.25, 3.0));
  s.circle = Append(db, new AcDbCircle(AcGePoint3d(-3, 4, 0), AcGeVector3d(0, 0, 1), 1.75));
  AcGePoint3dArray corners;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {20.0, 0.0}, {20.0, 10.0}})
    corners.append(AcGePoint3d(x, y, 0));
  AcGeDoubleArray bulges;
  for (double b : {0.0, 0.5, 0.0}) bulges.append(b);
  s.polyline2d =
      Append(db, new AcDb2dPolyline(AcDb::k2dSimplePoly, corners, 0.0, true, 0, 0, &bulges));
  AcGePoint3dArray path;
  path.append(AcGePoint3d(0, 0, 0));
  path.append(AcGePoint3d(1, 2, 3));
  s.polyline3d = Append(db, new AcDb3dPolyline(AcDb::k3dSimplePoly, path));
  auto* light = new AcDbPolyline;
  light->addVertexAt(0, AcGePoint2d(0, 0));
  light->addVertexAt(1, AcGePoint2d(4, 0), -0.25);
  light->addVertexAt(2, AcGePoint2d(4, 4));
  light->setClosed(true);
  s.lwpolyline = Append(db, light);
  auto* text = new AcDbText(AcGePoint3d(1, 2, 0), "テキスト 12.50", AcDbObjectId::kNull, 2.5, 0.5);
  text->setHorizontalMode(AcDb::kTextCenter);
  text->setAlignmentPoint(AcGePoint3d(3, 2, 0));
  s.text = Append(db, text);
  s.block = AddBlock(db, "AREA1");
  Append(db, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1.0), "AREA1");
  for (const char* tag : {"BANGO1", "KT"})
    Append(db, new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), "", tag, tag), "AREA1");
  auto* insert = new AcDbBlockReference(AcGePoint3d(30, 30, 0), s.block);
  insert->setLayer("MARKS");
  s.insert = Append(db, insert);
  AcDbBlockReference* reference = nullptr;
  EXPECT_EQ(acdbOpenObject(reference, s.insert, AcDb::kForWrite), Acad::eOk);
  for (auto [tag, value] : {std::pair{"BANGO1", "イ1"}, {"KT", "1"}}) {
    auto* attribute = new AcDbAttribute;
    attribute->setTag(tag);
    attribute->setTextString(value);
    attribute->setPosition(AcGePoint3d(30, 30, 0));
    attribute->setHeight(2.5);
    EXPECT_EQ(reference->appendAttribute(attribute), Acad::eOk);
    attribute->close();
  }
  reference->close();
  SetXData(s.line, "AREA_TRIANGLE", s.insert);
  s.anonymousGroup = AddGroup(db, "*", {s.line, s.text, s.insert});
  s.namedGroup = AddGroup(db, "OUTLINES", {s.polyline2d});
  TestRecord::Register();
  AcDbDictionary* named = nullptr;
  EXPECT_EQ(db->getNamedObjectsDictionary(named, AcDb::kForWrite), Acad::eOk);
  auto* shapes = new AcDbDictionary;
  AcDbObjectId shapesId;
  EXPECT_EQ(named->setAt("DICT_TEST", shapes, shapesId), Acad::eOk);
  named->close();
  auto* record = new TestRecord;
  record->mark = s.insert.handle();
  record->count = 2;
  record->label = "面積 1";
  EXPECT_EQ(shapes->setAt(s.line.handle().text().c_str(), record, s.record), Acad::eOk);
  record->close();
  shapes->close();
  return s;
}

inline AcDbObjectId IdOf(AcDbDatabase* database, const std::string& handle) {
  AcDbObjectId id;
  database->getAcDbObjectId(id, false, AcDbHandle(handle.c_str()));
  return id;
}

inline std::vector<std::string> ModelSpaceSummary(AcDbDatabase* database) {
  std::vector<std::string> summary;
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return summary;
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  table->close();
  if (space == nullptr) return summary;
  for (AcDbObjectId id : space->entityIds()) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    summary.push_back(std::string(entity->isA()->name()) + " " + id.handle().text() + " " +
                      entity->layer());
    entity->close();
  }
  space->close();
  return summary;
}

inline std::string TempPath(const std::string& name) {
  auto folder =
      std::filesystem::temp_directory_path() / ("tessera_files_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace tessera::files::testing
