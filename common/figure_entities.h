// What ties a figure's entities together: the extended data that names each entity's figure kind
// and role, the anonymous group of all of them, and erasing them again.
#pragma once

#include <string>

#include "cad/arx.h"

namespace area {

// Extended-data application names, one per figure kind, and that of area schedules.
inline constexpr const char* kTriangleApp = "AREA_TRIANGLE";
inline constexpr const char* kRectangleApp = "AREA_RECTANGLE";
inline constexpr const char* kTrapezoidApp = "AREA_TRAPEZOID";
inline constexpr const char* kCircleApp = "AREA_CIRCLE";
inline constexpr const char* kSectorApp = "AREA_SECTOR";
inline constexpr const char* kLuneApp = "AREA_LUNE";
inline constexpr const char* kScheduleApp = "PLOT_TALLY";

// Roles of a figure's entities.
inline constexpr const char* kRoleOutline = "TYPE_OUT";
inline constexpr const char* kRoleAuxiliary = "TYPE_SUB";
inline constexpr const char* kRoleValue = "TYPE_VAL";
inline constexpr const char* kRoleMark = "TYPE_MARK";

// Roles of a schedule's entities.
inline constexpr const char* kRoleScheduleText = "TEXT";
inline constexpr const char* kRoleScheduleLine = "L";
inline constexpr const char* kRoleScheduleHeader = "T";

// Adds `role` as a 1000 string to the entity's extended data of `application`, registering the
// application and starting its block when the entity has none yet. False when it does not open.
bool TagEntity(AcDbObjectId entityId, const char* application, const char* role);

// The role an entity's extended data of `application` gives it: the text of a 1000 item that
// directly follows the 1001 application name; empty when it has no such data.
std::string FigureRole(const AcDbObject* object, const char* application);

// Makes a new anonymous group of the entities in list order and gives its id in `groupId` when
// asked; false when the group dictionary does not open or an entity cannot join (the group then
// holds those before it).
bool MakeGroup(const AcDbObjectIdArray& ids, AcDbObjectId* groupId = nullptr);

// Erases every entity of the list that opens, then redraws.
void EraseEntities(const AcDbObjectIdArray& ids);

// Erases one object (a group, a record) when it opens for write; false when it does not.
bool EraseObject(AcDbObjectId id, bool erasing = true);

// The host's REDRAW command.
void Redraw();

}  // namespace area
