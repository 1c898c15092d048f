// A fresh drawing, made the working database, for tests of the database core.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "cad/arx.h"

class DrawingTest : public ::testing::Test {
 public:
  void SetUp() override {
    database = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
  }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    database.reset();
  }

  // Appends an entity to model space and closes it.
  AcDbObjectId Append(AcDbEntity* entity) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(database->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbObjectId id;
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    space->close();
    entity->close();
    return id;
  }

  AcDbObjectId AppendLine(double x1, double y1, double x2, double y2) {
    return Append(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
  }

  template <typename T>
  T* Open(AcDbObjectId id, AcDb::OpenMode mode) {
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, id, mode), Acad::eOk);
    return object;
  }

  std::unique_ptr<AcDbDatabase> database;
};
