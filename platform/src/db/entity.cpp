// The entity base: layer, colour, linetype, and the editing hooks every kind may answer.
#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/entity_support.h"
#include "db/rx_define.h"

CAD_DEFINE_ABSTRACT_MEMBERS(AcDbEntity, AcDbObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbCurve, AcDbEntity)

namespace {

AcDbDatabase* DrawingOf(const AcDbEntity* entity) {
  return entity->database() ? entity->database() : acdbHostApplicationServices()->workingDatabase();
}

struct LayerChange {
  AcDbObjectId layer;
};

void ApplyLayer(AcDbEntity* sub, const void* arg) {
  sub->setLayer(static_cast<const LayerChange*>(arg)->layer, false);
}

void ApplyColor(AcDbEntity* sub, const void* arg) {
  sub->setColorIndex(*static_cast<const Adesk::UInt16*>(arg), false);
}

void ApplyLinetype(AcDbEntity* sub, const void* arg) {
  sub->setLinetype(static_cast<const char*>(arg), false);
}

}  // namespace

const tessera::db::SharedName& AcDbEntity::defaultLayer() {
  static const tessera::db::SharedName name("0");
  return name;
}

const tessera::db::SharedName& AcDbEntity::defaultLinetype() {
  static const tessera::db::SharedName name("ByLayer");
  return name;
}

AcDbObjectId AcDbEntity::layerId() const {
  AcDbDatabase* db = DrawingOf(this);
  if (db == nullptr) return AcDbObjectId();
  AcDbLayerTable* table = nullptr;
  if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return AcDbObjectId();
  AcDbObjectId id;
  table->getAt(m_layer.c_str(), id, true);
  table->close();
  return id;
}

Acad::ErrorStatus AcDbEntity::setLayer(const char* layerName, bool doSubents,
                                       bool allowHiddenLayer) {
  if (layerName == nullptr || *layerName == '\0') return Acad::eInvalidInput;
  AcDbDatabase* db = DrawingOf(this);
  if (db == nullptr) return Acad::eNoDatabase;
  AcDbLayerTable* table = nullptr;
  if (Acad::ErrorStatus status = db->getLayerTable(table, AcDb::kForRead); status != Acad::eOk)
    return status;
  AcDbObjectId id;
  Acad::ErrorStatus status = table->getAt(layerName, id);
  table->close();
  if (status != Acad::eOk) return Acad::eKeyNotFound;
  return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layerId, bool doSubents, bool) {
  AcDbLayerTableRecord* record = nullptr;
  if (Acad::ErrorStatus status = acdbOpenObject(record, layerId, AcDb::kForRead, true);
      status != Acad::eOk)
    return status;
  tessera::db::SharedName name = record->getNameConst();
  record->close();
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_layer = name;
  if (doSubents) {
    LayerChange change{layerId};
    forEachSubEntity(ApplyLayer, &change);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, bool doSubents) {
  if (color > 257) return Acad::eInvalidInput;
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_colorIndex = color;
  if (doSubents) forEachSubEntity(ApplyColor, &color);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const char* linetypeName, bool doSubents) {
  if (linetypeName == nullptr || *linetypeName == '\0') return Acad::eInvalidInput;
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_linetype = linetypeName;
  if (doSubents) forEachSubEntity(ApplyLinetype, linetypeName);
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* database) {
  AcDbDatabase* db = database ? database : DrawingOf(this);
  if (db == nullptr || assertWriteEnabled() != Acad::eOk) return;
  AcDbLayerTableRecord* layer = nullptr;
  if (acdbOpenObject(layer, db->clayer(), AcDb::kForRead) == Acad::eOk) {
    m_layer = layer->getNameConst();
    layer->close();
  }
  m_colorIndex = kColorByLayer;
  m_linetype = defaultLinetype();
}

Acad::ErrorStatus AcDbEntity::moveBy(const AcGeVector3d&) {
  return Acad::eNotApplicable;
}

void AcDbEntity::gripPoints(std::vector<AcGePoint3d>& points) const {
  points.clear();
}

Acad::ErrorStatus AcDbEntity::moveGripPointAt(int, const AcGePoint3d&) {
  return Acad::eNotApplicable;
}

void AcDbEntity::stretchPoints(std::vector<AcGePoint3d>& points) const {
  gripPoints(points);
}

Acad::ErrorStatus AcDbEntity::moveStretchPointsAt(const std::vector<int>& indices,
                                                  const AcGeVector3d& offset) {
  std::vector<AcGePoint3d> points;
  stretchPoints(points);
  if (!indices.empty() && indices.size() >= points.size()) return moveBy(offset);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeName(m_layer);
  filer->writeUInt16(m_colorIndex);
  filer->writeName(m_linetype);
  const KeptProperties* keptAsRead = keptProperties();
  filer->writeUInt16(static_cast<Adesk::UInt16>(keptAsRead ? keptAsRead->size() : 0));
  if (keptAsRead) {
    for (const auto& [code, value] : *keptAsRead) {
      filer->writeInt16(static_cast<Adesk::Int16>(code));
      filer->writeString(value);
    }
  }
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  filer->readName(&m_layer);
  filer->readUInt16(&m_colorIndex);
  filer->readName(&m_linetype);
  Adesk::UInt16 kept = 0;
  filer->readUInt16(&kept);
  dropKeptProperties();
  for (Adesk::UInt16 i = 0; i < kept && filer->filerStatus() == Acad::eOk; ++i) {
    Adesk::Int16 code = 0;
    std::string value;
    filer->readInt16(&code);
    filer->readString(&value);
    keptPropertiesForWrite().emplace_back(code, std::move(value));
  }
  return filer->filerStatus();
}
