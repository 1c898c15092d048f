// acdbEntLast, acdbEntNext, acdbHandEnt and the other entity-name functions, and acdbRegApp.
#include "editor/entity_names.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "cad/ads.h"
#include "cad/arx.h"
#include "editor/spatial_index.h"

namespace tessera::editor {

namespace {

AcDbDatabase* Working() {
  return acdbHostApplicationServices()->workingDatabase();
}

// The sub-entities (attributes, vertices, then the sequence end) of a complex entity.
std::vector<AcDbObjectId> SubEntities(AcDbObjectId owner) {
  std::vector<AcDbObjectId> parts;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, owner, AcDb::kForRead) != Acad::eOk) return parts;
  if (auto* reference = AcDbBlockReference::cast(entity)) {
    parts = reference->attributeIds();
    if (!parts.empty() && !reference->sequenceEndId().isNull())
      parts.push_back(reference->sequenceEndId());
  } else if (auto* polyline = AcDbComplexEntity::cast(entity)) {
    parts = polyline->vertexIds();
    if (!polyline->sequenceEndId().isNull()) parts.push_back(polyline->sequenceEndId());
  }
  entity->close();
  return parts;
}

AcDbObjectId OwnerOf(AcDbObjectId id) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead, true) != Acad::eOk) return {};
  AcDbObjectId owner = object->ownerId();
  object->close();
  return owner;
}

AcDbObjectId NextAfter(const std::vector<AcDbObjectId>& ids, AcDbObjectId id) {
  for (std::size_t i = 0; i + 1 < ids.size(); ++i)
    if (ids[i] == id) return ids[i + 1];
  return {};
}

const std::vector<AcDbObjectId>* ModelSpaceList(AcDbDatabase* database) {
  AcDbBlockTable* table = nullptr;
  if (database == nullptr || database->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
    return nullptr;
  AcDbObjectId space;
  table->getAt(ACDB_MODEL_SPACE, space);
  table->close();
  auto* record = space.isValid() ? AcDbBlockTableRecord::cast(space.stub()->object) : nullptr;
  return record ? &record->entityIds() : nullptr;
}

// The first entity not erased after `id` in model space, found from its place in drawing order.
AcDbObjectId MainEntityAfter(AcDbDatabase* database, AcDbObjectId id) {
  const std::vector<AcDbObjectId>* ids = ModelSpaceList(database);
  std::optional<std::size_t> position = SpatialIndex::Of(database).positionOf(id);
  if (ids == nullptr || !position) return {};
  for (std::size_t i = *position + 1; i < ids->size(); ++i)
    if (!(*ids)[i].isErased()) return (*ids)[i];
  return {};
}

// The entity after `id`, stepping into complex entities as entnext does.
AcDbObjectId EntityAfter(AcDbDatabase* database, AcDbObjectId id) {
  std::vector<AcDbObjectId> parts = SubEntities(id);
  if (!parts.empty()) return parts.front();
  AcDbObjectId owner = OwnerOf(id);
  std::vector<AcDbObjectId> siblings = SubEntities(owner);
  for (const AcDbObjectId& sibling : siblings) {
    if (sibling == id) {
      AcDbObjectId next = NextAfter(siblings, id);
      return next.isNull() ? MainEntityAfter(database, owner) : next;
    }
  }
  return MainEntityAfter(database, id);
}

}  // namespace

std::vector<AcDbObjectId> ModelSpaceEntities(AcDbDatabase* database) {
  std::vector<AcDbObjectId> ids;
  if (const std::vector<AcDbObjectId>* all = ModelSpaceList(database))
    std::copy_if(all->begin(), all->end(), std::back_inserter(ids),
                 [](AcDbObjectId id) { return !id.isErased(); });
  return ids;
}

// From the end of model space: every figure command asks for the entity it just made, and a
// copy of the whole list each time would make drawing n figures cost n squared.
AcDbObjectId LastEntity(AcDbDatabase* database) {
  const std::vector<AcDbObjectId>* ids = ModelSpaceList(database);
  if (ids == nullptr) return {};
  auto last =
      std::find_if(ids->rbegin(), ids->rend(), [](AcDbObjectId id) { return !id.isErased(); });
  return last == ids->rend() ? AcDbObjectId() : *last;
}

}  // namespace tessera::editor

using namespace tessera::editor;

int acdbEntLast(ads_name result) {
  if (result == nullptr) return RTERROR;
  acdbNameClear(result);
  AcDbObjectId last = LastEntity(Working());
  if (last.isNull()) return RTERROR;
  return acdbGetAdsName(result, last) == Acad::eOk ? RTNORM : RTERROR;
}

int acdbEntNext(const ads_name entity, ads_name result) {
  if (result == nullptr) return RTERROR;
  AcDbObjectId next;
  if (entity == nullptr || acdbNameNil(entity)) {
    const std::vector<AcDbObjectId>* ids = ModelSpaceList(Working());
    for (std::size_t i = 0; ids != nullptr && i < ids->size() && next.isNull(); ++i)
      if (!(*ids)[i].isErased()) next = (*ids)[i];
  } else {
    AcDbObjectId id;
    if (acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    next = EntityAfter(id.database(), id);
  }
  acdbNameClear(result);
  if (next.isNull()) return RTERROR;
  return acdbGetAdsName(result, next) == Acad::eOk ? RTNORM : RTERROR;
}

int acdbHandEnt(const char* handle, ads_name entity) {
  if (handle == nullptr || entity == nullptr || Working() == nullptr) return RTERROR;
  acdbNameClear(entity);
  AcDbHandle value(handle);
  if (value.isNull()) return RTERROR;
  AcDbObjectId id;
  if (Working()->getAcDbObjectId(id, false, value) != Acad::eOk) return RTERROR;
  if (id.isNull() || !id.isValid() || id.isErased()) return RTERROR;
  return acdbGetAdsName(entity, id) == Acad::eOk ? RTNORM : RTERROR;
}

int acdbNameClear(ads_name name) {
  if (name == nullptr) return RTERROR;
  name[0] = 0;
  name[1] = 0;
  return RTNORM;
}

bool acdbNameNil(const ads_name name) {
  return name == nullptr || (name[0] == 0 && name[1] == 0);
}

int acdbRegApp(const char* application) {
  if (application == nullptr || *application == '\0' || Working() == nullptr) return RTERROR;
  AcDbRegAppTable* table = nullptr;
  if (Working()->getRegAppTable(table, AcDb::kForRead) != Acad::eOk) return RTERROR;
  if (table->has(application) || table->upgradeOpen() != Acad::eOk) {
    table->close();
    return RTERROR;
  }
  auto* record = new AcDbRegAppTableRecord;
  record->setName(application);
  Acad::ErrorStatus status = table->add(record);
  if (status == Acad::eOk) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return status == Acad::eOk ? RTNORM : RTERROR;
}
