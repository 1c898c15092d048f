// Every class of the host, entered in the class dictionary when the registry is first used.
#include "cad/arx.h"
#include "db/rx_define.h"

namespace tessera::rx {

void RegisterAllHostClasses() {
  AcRxObject::desc();
  AcRxClass::desc();
  AcRxDictionary::desc();
  AcDbObject::desc();
  AcDbObjectReactor::desc();
  AcDbDatabaseReactor::desc();
  AcDbDatabase::desc();
  AcDbDwgFiler::desc();
  AcDbDxfFiler::desc();
  AcDbEntity::desc();
  AcDbCurve::desc();
  AcDbLine::desc();
  AcDbCircle::desc();
  AcDbArc::desc();
  AcDbSequenceEnd::desc();
  AcDbVertex::desc();
  AcDb2dVertex::desc();
  AcDb3dPolylineVertex::desc();
  AcDb2dPolyline::desc();
  AcDb3dPolyline::desc();
  AcDbPolyline::desc();
  AcDbText::desc();
  AcDbAttributeDefinition::desc();
  AcDbAttribute::desc();
  AcDbBlockReference::desc();
  AcDbUnknownObject::desc();
  AcDbUnknownEntity::desc();
  AcDbSymbolTableRecord::desc();
  AcDbSymbolTable::desc();
  AcDbLayerTableRecord::desc();
  AcDbLayerTable::desc();
  AcDbBlockTableRecord::desc();
  AcDbBlockTable::desc();
  AcDbRegAppTableRecord::desc();
  AcDbRegAppTable::desc();
  AcDbDictionary::desc();
  AcDbGroup::desc();
  AcEditorReactor::desc();
  AcEditor::desc();
  AcApDocument::desc();
  AcApDocManagerReactor::desc();
  AcApDocManager::desc();
}

}  // namespace tessera::rx
