// Creating entities in model space.
#include "common/entity_factory.h"

#include <functional>
#include <memory>

namespace area {
namespace {

AcDbDatabase* WorkingDatabase() {
  return acdbHostApplicationServices()->workingDatabase();
}

// The layer's id by name, erased layers included; null when there is none.
AcDbObjectId FindLayer(AcDbDatabase* database, const std::string& name) {
  AcDbLayerTable* layers = nullptr;
  if (database->getLayerTable(layers, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbObjectId layerId;
  if (layers->getAt(name.c_str(), layerId, true) != Acad::eOk) layerId.setNull();
  layers->close();
  return layerId;
}

bool ApplyStyle(AcDbEntity* entity, AcDbDatabase* database, const EntityStyle& style) {
  if (!style.layer.empty()) {
    const AcDbObjectId layerId = FindLayer(database, style.layer);
    if (layerId.isNull() || entity->setLayer(layerId) != Acad::eOk) return false;
  }
  if (style.colorIndex != 0 && entity->setColorIndex(style.colorIndex) != Acad::eOk) return false;
  if (!style.linetype.empty() && entity->setLinetype(style.linetype.c_str()) != Acad::eOk)
    return false;
  return true;
}

// Takes the new entity, gives it the defaults, the style and then what `afterStyle` sets, and
// appends it to model space.
AcDbObjectId AppendToModelSpace(std::unique_ptr<AcDbEntity> entity, const EntityStyle& style,
                                const std::function<void(AcDbEntity&)>& afterStyle = {}) {
  AcDbDatabase* database = WorkingDatabase();
  if (database == nullptr) return AcDbObjectId::kNull;
  AcDbBlockTable* blocks = nullptr;
  if (database->getBlockTable(blocks, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbBlockTableRecord* modelSpace = nullptr;
  const Acad::ErrorStatus opened = blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  blocks->close();
  if (opened != Acad::eOk) return AcDbObjectId::kNull;
  entity->setDatabaseDefaults(database);
  AcDbObjectId id;
  const bool styled = ApplyStyle(entity.get(), database, style);
  if (styled && afterStyle) afterStyle(*entity);
  if (styled && modelSpace->appendAcDbEntity(id, entity.get()) == Acad::eOk) {
    entity.release()->close();
  } else {
    id.setNull();
  }
  modelSpace->close();
  return id;
}

}  // namespace

AcGeVector3d CurrentUcsNormal() {
  AcDbDatabase* database = WorkingDatabase();
  if (database == nullptr) return AcGeVector3d::kZAxis;
  return database->ucsxdir().crossProduct(database->ucsydir()).normalize(AcGeContext::gTol);
}

AcDbObjectId MakeLine(const AcGePoint3d& start, const AcGePoint3d& end, const EntityStyle& style) {
  auto line = std::make_unique<AcDbLine>(start, end);
  line->setNormal(CurrentUcsNormal());
  return AppendToModelSpace(std::move(line), style);
}

AcDbObjectId MakeCircle(const AcGePoint3d& centre, double radius, const EntityStyle& style) {
  auto circle = std::make_unique<AcDbCircle>(centre, CurrentUcsNormal(), radius);
  return AppendToModelSpace(std::move(circle), style);
}

AcDbObjectId MakeArc(const AcGePoint3d& centre, double radius, double startAngle, double endAngle,
                     const EntityStyle& style) {
  auto arc = std::make_unique<AcDbArc>(centre, radius, startAngle, endAngle);
  arc->setNormal(CurrentUcsNormal());
  return AppendToModelSpace(std::move(arc), style);
}

AcDbObjectId MakePolyline2d(const AcGePoint3dArray& vertices, bool closed,
                            const EntityStyle& style) {
  auto polyline = std::make_unique<AcDb2dPolyline>(AcDb::k2dSimplePoly, vertices, 0.0, closed);
  polyline->setNormal(CurrentUcsNormal());
  return AppendToModelSpace(std::move(polyline), style);
}

AcDbObjectId MakeText(const TextDraft& draft, const EntityStyle& style) {
  auto text = std::make_unique<AcDbText>(draft.position, draft.text.c_str(), AcDbObjectId::kNull,
                                         draft.height, draft.rotation);
  text->setNormal(CurrentUcsNormal());
  EntityStyle textStyle = style;
  textStyle.linetype.clear();
  return AppendToModelSpace(std::move(text), textStyle, [&draft](AcDbEntity& entity) {
    AcDbText& placed = static_cast<AcDbText&>(entity);
    placed.setHorizontalMode(draft.horizontalMode);
    placed.setVerticalMode(draft.verticalMode);
    placed.setAlignmentPoint(draft.position);
  });
}

}  // namespace area
