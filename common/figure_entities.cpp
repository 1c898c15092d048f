// Tags, groups and erasing of a figure's entities.
#include "common/figure_entities.h"

namespace area {
namespace {

constexpr const char* kAnonymousGroupName = "*";
constexpr const char* kRedrawCommand = "REDRAW";

// The last element of a result-buffer list.
resbuf* LastOf(resbuf* list) {
  while (list->rbnext != nullptr) list = list->rbnext;
  return list;
}

}  // namespace

bool TagEntity(AcDbObjectId entityId, const char* application, const char* role) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, entityId, AcDb::kForRead) != Acad::eOk) return false;
  resbuf* xdata = entity->xData(application);
  if (xdata != nullptr) {
    LastOf(xdata)->rbnext = acutBuildList(AcDb::kDxfXdAsciiString, role, RTNONE);
  } else {
    acdbRegApp(application);
    xdata = acutBuildList(AcDb::kDxfRegAppName, application, AcDb::kDxfXdAsciiString, role, RTNONE);
  }
  entity->upgradeOpen();
  entity->setXData(xdata);
  entity->close();
  acutRelRb(xdata);
  return true;
}

std::string FigureRole(const AcDbObject* object, const char* application) {
  resbuf* xdata = object->xData(application);
  std::string role;
  if (xdata != nullptr && xdata->restype == AcDb::kDxfRegAppName && xdata->rbnext != nullptr &&
      xdata->rbnext->restype == AcDb::kDxfXdAsciiString && xdata->rbnext->resval.rstring != nullptr)
    role = xdata->rbnext->resval.rstring;
  acutRelRb(xdata);
  return role;
}

bool MakeGroup(const AcDbObjectIdArray& ids, AcDbObjectId* groupId) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* groups = nullptr;
  if (database == nullptr || database->getGroupDictionary(groups, AcDb::kForWrite) != Acad::eOk)
    return false;
  auto* group = new AcDbGroup();
  AcDbObjectId newId;
  const Acad::ErrorStatus added = groups->setAt(kAnonymousGroupName, group, newId);
  groups->close();
  if (added != Acad::eOk) {
    delete group;
    return false;
  }
  if (groupId != nullptr) *groupId = newId;
  bool complete = true;
  for (const AcDbObjectId& id : ids) {
    if (group->append(id) != Acad::eOk) {
      complete = false;
      break;
    }
  }
  group->close();
  return complete;
}

void EraseEntities(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
    entity->erase();
    entity->close();
  }
  Redraw();
}

bool EraseObject(AcDbObjectId id, bool erasing) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) return false;
  object->erase(erasing);
  object->close();
  return true;
}

void Redraw() {
  acedCommand(RTSTR, kRedrawCommand, RTNONE);
}

}  // namespace area
