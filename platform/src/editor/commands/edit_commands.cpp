// Edit commands: ERASE, OOPS, MOVE, COPY, STRETCH, GRIP_STRETCH. Each entity a command changes
// is opened for write once.
#include <algorithm>
#include <map>
#include <vector>

#include "db/notify.h"
#include "db/object_access.h"
#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "editor/pick_geometry.h"
#include "editor/selection.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace edit_prompts {
constexpr const char* kBasePoint = "\nSpecify base point: ";
constexpr const char* kSecondPoint = "\nSpecify second point: ";
constexpr const char* kGripPoint = "\nSpecify grip point: ";
constexpr const char* kStretchPoint = "\nSpecify stretch point: ";
constexpr const char* kStretchSelection =
    "\nSelect objects to stretch by crossing-window or crossing-polygon...";
constexpr const char* kNothingToRestore = "\nNothing to restore.";
}  // namespace edit_prompts

// How near a grip must be to the point given for it to be taken (drawing units).
constexpr double kGripTolerance = 0.001;
constexpr const char* kAnonymousGroupKey = "*";

// The last set ERASE erased in each drawing, for OOPS.
std::map<AcDbDatabase*, IdList>& ErasedSets() {
  static std::map<AcDbDatabase*, IdList> sets;
  return sets;
}

Task<void> EraseCommand(CommandContext& command) {
  IdList selected = co_await SelectObjects(command.conversation());
  IdList erased;
  for (const AcDbObjectId& id : selected) {
    Opened<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity && entity->erase() == Acad::eOk) erased.push_back(id);
  }
  if (!erased.empty()) ErasedSets()[command.database()] = erased;
}

Task<void> OopsCommand(CommandContext& command) {
  IdList erased = std::move(ErasedSets()[command.database()]);
  ErasedSets().erase(command.database());
  if (erased.empty()) Transcript::instance().write(edit_prompts::kNothingToRestore);
  for (const AcDbObjectId& id : erased) {
    Opened<AcDbEntity> entity(id, AcDb::kForWrite, true);
    if (entity) entity->erase(false);
  }
  co_return;
}

// The displacement from the base point to the second point; RETURN at the second point takes
// the base point itself as the displacement, as the host does.
Task<std::optional<AcGeVector3d>> AskDisplacement(CommandContext& command) {
  Answer base = co_await command.getPoint(edit_prompts::kBasePoint, nullptr,
                                          std::vector<std::string>(), RSG_NONULL);
  Answer second = co_await command.getPoint(edit_prompts::kSecondPoint, &base.point);
  AcGeVector3d offset =
      second.kind == AnswerKind::kPoint ? second.point - base.point : base.point.asVector();
  co_return ToWorld(command, offset);
}

Task<void> MoveCommand(CommandContext& command) {
  IdList selected = co_await SelectObjects(command.conversation());
  if (selected.empty()) co_return;
  std::optional<AcGeVector3d> offset = co_await AskDisplacement(command);
  for (const AcDbObjectId& id : selected) {
    Opened<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) entity->moveBy(*offset);
  }
}

// The groups an entity belongs to: its persistent reactors that are groups.
std::vector<AcDbObjectId> GroupsOf(AcDbObjectId id) {
  std::vector<AcDbObjectId> groups;
  Opened<AcDbEntity> entity(id, AcDb::kForRead);
  if (!entity) return groups;
  for (const AcDbObjectId& follower : entity->persistentReactors()) {
    Opened<AcDbGroup> group(follower, AcDb::kForRead);
    if (group && !follower.isErased()) groups.push_back(follower);
  }
  return groups;
}

// Copies one entity by the offset; the source's reactors hear of the copy once it exists.
AcDbObjectId CopyEntity(CommandContext& command, AcDbObjectId sourceId,
                        const AcGeVector3d& offset) {
  Opened<AcDbEntity> source(sourceId, AcDb::kForRead);
  if (!source) return {};
  auto* copy = AcDbEntity::cast(source->cloneObject());
  if (copy == nullptr) return {};
  AcDbObjectId copyId;
  if (AppendOpen(command.database(), copy, copyId) != Acad::eOk) {
    delete copy;
    return {};
  }
  copy->moveBy(offset);
  db::NotifyCopied(source.get(), copy);
  copy->close();
  return copyId;
}

// Members appended before the group was in the drawing learn now that it follows them.
void FollowMembers(const AcDbGroup* group, AcDbObjectId groupId) {
  for (const AcDbObjectId& member : group->memberIds()) {
    if (member.stub() == nullptr || member.stub()->object == nullptr) continue;
    auto& followers = db::ObjectAccess::persistentReactors(member.stub()->object);
    if (std::find(followers.begin(), followers.end(), groupId) == followers.end())
      followers.push_back(groupId);
  }
}

// A new anonymous group of the copies of a group's members, added once the copies exist.
void CopyGroup(CommandContext& command, AcDbObjectId groupId,
               const std::map<AcDbObjectId, AcDbObjectId>& copies) {
  auto* group = new AcDbGroup;
  {
    Opened<AcDbGroup> source(groupId, AcDb::kForRead);
    if (!source) {
      delete group;
      return;
    }
    group->setDescription(source->description().c_str());
    group->setSelectable(source->isSelectable());
    for (const AcDbObjectId& member : source->memberIds()) {
      auto copy = copies.find(member);
      if (copy != copies.end()) group->append(copy->second);
    }
  }
  AcDbDictionary* groups = nullptr;
  if (command.database()->getGroupDictionary(groups, AcDb::kForWrite) != Acad::eOk) {
    delete group;
    return;
  }
  AcDbObjectId id;
  if (groups->setAt(kAnonymousGroupKey, group, id) == Acad::eOk) {
    FollowMembers(group, id);
    group->close();
  } else {
    delete group;
  }
  groups->close();
}

void CopyOnce(CommandContext& command, const IdList& selected, const AcGeVector3d& offset) {
  std::map<AcDbObjectId, AcDbObjectId> copies;
  std::vector<AcDbObjectId> groups;
  for (const AcDbObjectId& id : selected) {
    AcDbObjectId copy = CopyEntity(command, id, offset);
    if (copy.isNull()) continue;
    copies[id] = copy;
    for (const AcDbObjectId& group : GroupsOf(id))
      if (std::find(groups.begin(), groups.end(), group) == groups.end()) groups.push_back(group);
  }
  for (const AcDbObjectId& group : groups) CopyGroup(command, group, copies);
}

Task<void> CopyCommand(CommandContext& command) {
  IdList selected = co_await SelectObjects(command.conversation());
  if (selected.empty()) co_return;
  Answer base = co_await command.getPoint(edit_prompts::kBasePoint, nullptr,
                                          std::vector<std::string>(), RSG_NONULL);
  for (;;) {
    Answer second = co_await command.getPoint(edit_prompts::kSecondPoint, &base.point);
    if (second.kind != AnswerKind::kPoint) co_return;
    CopyOnce(command, selected, ToWorld(command, second.point - base.point));
  }
}

bool InsideAny(const std::vector<SelectionWindow>& windows, const AcGePoint3d& ucsPoint) {
  for (const SelectionWindow& window : windows) {
    Window box({window.corner1.x, window.corner1.y}, {window.corner2.x, window.corner2.y});
    if (box.contains({ucsPoint.x, ucsPoint.y})) return true;
  }
  return false;
}

// Moves an entity wholly inside the windows, or the defining points of it that are inside.
void StretchEntity(CommandContext& command, AcDbObjectId id,
                   const std::vector<SelectionWindow>& windows, const AcGeVector3d& offset) {
  std::vector<AcGePoint3d> points;
  std::vector<int> inside;
  {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    if (!entity) return;
    entity->stretchPoints(points);
  }
  for (std::size_t i = 0; i < points.size(); ++i)
    if (InsideAny(windows, WorldToUcs(points[i], command.database())))
      inside.push_back(static_cast<int>(i));
  if (inside.empty()) return;
  Opened<AcDbEntity> entity(id, AcDb::kForWrite);
  if (!entity) return;
  if (inside.size() == points.size()) {
    entity->moveBy(offset);
  } else {
    entity->moveStretchPointsAt(inside, offset);
  }
}

Task<void> StretchCommand(CommandContext& command) {
  Transcript::instance().write(edit_prompts::kStretchSelection);
  std::vector<SelectionWindow> windows;
  IdList selected = co_await SelectObjects(command.conversation(), SelectionFilter(), &windows);
  if (selected.empty()) co_return;
  std::optional<AcGeVector3d> offset = co_await AskDisplacement(command);
  for (const AcDbObjectId& id : selected) StretchEntity(command, id, windows, *offset);
}

// The index of the entity's grip within the tolerance of a world point, or -1.
int GripAt(AcDbObjectId id, const AcGePoint3d& point) {
  Opened<AcDbEntity> entity(id, AcDb::kForRead);
  if (!entity) return -1;
  std::vector<AcGePoint3d> grips;
  entity->gripPoints(grips);
  for (std::size_t i = 0; i < grips.size(); ++i)
    if (grips[i].distanceTo(point) <= kGripTolerance) return static_cast<int>(i);
  return -1;
}

Task<void> GripStretchCommand(CommandContext& command) {
  IdList selected = co_await SelectObjects(command.conversation());
  Answer grip = co_await command.getPoint(edit_prompts::kGripPoint, nullptr,
                                          std::vector<std::string>(), RSG_NONULL);
  Answer target = co_await command.getPoint(edit_prompts::kStretchPoint, &grip.point,
                                            std::vector<std::string>(), RSG_NONULL);
  AcGePoint3d from = ToWorld(command, grip.point), to = ToWorld(command, target.point);
  for (const AcDbObjectId& id : selected) {
    int index = GripAt(id, from);
    if (index < 0) continue;
    Opened<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) entity->moveGripPointAt(index, to);
  }
}

}  // namespace

void AddEditCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"ERASE", EraseCommand});
  commands.push_back({"OOPS", OopsCommand});
  commands.push_back({"MOVE", MoveCommand});
  commands.push_back({"COPY", CopyCommand});
  commands.push_back({"STRETCH", StretchCommand});
  commands.push_back({"GRIP_STRETCH", GripStretchCommand});
  AddAnnotationEditCommands(commands);
}

}  // namespace tessera::editor
