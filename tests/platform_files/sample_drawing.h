// A drawing with one of everything the file formats carry, and an application class whose
// objects refer to an entity by handle (as the plug-in's figure records do), for the tests of
// drawing files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cad/arx.h"

namespace tessera::files::testing {

// An application object: a handle of an entity it opens while it reads itself, a count and a
// label. Registered and unregistered by the tests (its objects must outlive neither).
class TestRecord : public AcDbObject {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override { return desc(); }
  static TestRecord* cast(const AcRxObject* object) {
    return object && desc() && object->isKindOf(desc())
               ? static_cast<TestRecord*>(const_cast<AcRxObject*>(object))
               : nullptr;
  }
  static void Register();
  static void Unregister();

  AcDbHandle mark;
  Adesk::Int16 count = 0;
  std::string label;
  // Whether the mark opened while the record was read (it must be in the drawing by then).
  bool markOpenedOnRead = false;

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  void openMark();
};

// The ids of what SampleDrawing made.
struct Sample {
  std::unique_ptr<AcDbDatabase> database;
  AcDbObjectId line, arc, circle, polyline2d, polyline3d, lwpolyline, text, insert, record;
  AcDbObjectId anonymousGroup, namedGroup, block;
};

}  // namespace tessera::files::testing

#include "sample_drawing_impl.h"
