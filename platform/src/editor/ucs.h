// The current UCS of the working drawing: points typed at prompts are in it, entities are in
// world coordinates.
#pragma once

#include "cad/db_database.h"

namespace tessera::editor {

AcGePoint3d UcsToWorld(const AcGePoint3d& point, const AcDbDatabase* database);
AcGePoint3d WorldToUcs(const AcGePoint3d& point, const AcDbDatabase* database);
AcGeVector3d UcsToWorld(const AcGeVector3d& vector, const AcDbDatabase* database);
AcGeVector3d WorldToUcs(const AcGeVector3d& vector, const AcDbDatabase* database);
// An angle answered in the UCS (radians, counter-clockwise from the UCS's +X) as a world angle:
// plus the angle of the UCS's X axis in the world XY plane, in [0, 2π).
double UcsAngleToWorld(double angle, const AcDbDatabase* database);

}  // namespace tessera::editor
