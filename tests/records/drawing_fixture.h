// A fresh drawing, made the working database, with the record classes registered: what the
// records see when the application is loaded and a drawing is open.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "cad/arx.h"
#include "host/record_classes.h"
#include "records/mark_reactor.h"

class RecordDrawingTest : public ::testing::Test {
 public:
  void SetUp() override {
    area::RegisterRecordClasses();
    acrxBuildClassHierarchy();
    database = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
  }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    database.reset();
    area::ClearCopyPairs();
  }

  // Appends an entity to model space and closes it.
  AcDbObjectId Append(AcDbEntity* entity, AcDbDatabase* into = nullptr) {
    if (into == nullptr) into = database.get();
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(into->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbObjectId id;
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    space->close();
    entity->close();
    return id;
  }

  // A stand-in for any entity of a figure (outline, line, text or mark).
  AcDbObjectId AppendLine(AcDbDatabase* into = nullptr) {
    return Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), into);
  }

  template <typename T>
  T* Open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, id, mode, openErased), Acad::eOk);
    return object;
  }

  bool MarkHasReactor(AcDbObjectId mark) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, mark, AcDb::kForRead) != Acad::eOk) return false;
    bool has = area::HasMarkReactor(object);
    object->close();
    return has;
  }

  int ReactorCount(AcDbObjectId id) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForRead, true) != Acad::eOk) return -1;
    int count = object->reactorCount();
    object->close();
    return count;
  }

  std::unique_ptr<AcDbDatabase> database;
};
