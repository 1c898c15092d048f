// Lines, circles and arcs.
#include <cmath>

#include "cad/arx.h"
#include "db/entity_support.h"
#include "db/rx_define.h"

CAD_DEFINE_MEMBERS(AcDbLine, AcDbCurve, "LINE")
CAD_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, "CIRCLE")
CAD_DEFINE_MEMBERS(AcDbArc, AcDbCurve, "ARC")

using namespace tessera::db;

namespace {

AcGePoint3d PointAt(const AcGePoint3d& center, double radius, double angle) {
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), center.z};
}

}  // namespace

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
  WRITE_GUARD();
  m_start = point;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
  WRITE_GUARD();
  m_end = point;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setThickness(double thickness) {
  WRITE_GUARD();
  m_thickness = thickness;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const {
  point = m_start;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const {
  point = m_end;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  m_start += displacement;
  m_end += displacement;
  return Acad::eOk;
}

void AcDbLine::gripPoints(std::vector<AcGePoint3d>& points) const {
  AcGePoint3d mid((m_start.x + m_end.x) / 2, (m_start.y + m_end.y) / 2, (m_start.z + m_end.z) / 2);
  points = {m_start, m_end, mid};
}

Acad::ErrorStatus AcDbLine::moveGripPointAt(int index, const AcGePoint3d& to) {
  if (index == 0) return setStartPoint(to);
  if (index == 1) return setEndPoint(to);
  if (index != 2) return Acad::eInvalidIndex;
  std::vector<AcGePoint3d> grips;
  gripPoints(grips);
  return moveBy(to - grips[2]);
}

void AcDbLine::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_start, m_end};
}

Acad::ErrorStatus AcDbLine::moveStretchPointsAt(const std::vector<int>& indices,
                                                const AcGeVector3d& offset) {
  WRITE_GUARD();
  if (Contains(indices, 0)) m_start += offset;
  if (Contains(indices, 1)) m_end += offset;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_start);
  filer->writePoint3d(m_end);
  filer->writeVector3d(m_normal);
  filer->writeDouble(m_thickness);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbLine::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  filer->readPoint3d(&m_start);
  filer->readPoint3d(&m_end);
  filer->readVector3d(&m_normal);
  filer->readDouble(&m_thickness);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
  WRITE_GUARD();
  m_center = center;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  if (!(radius > 0.0)) return Acad::eInvalidInput;
  WRITE_GUARD();
  m_radius = radius;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& point) const {
  point = PointAt(m_center, m_radius, 0.0);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& point) const {
  return getStartPoint(point);
}

Acad::ErrorStatus AcDbCircle::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  m_center += displacement;
  return Acad::eOk;
}

void AcDbCircle::gripPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_center};
  for (int quadrant = 0; quadrant < 4; ++quadrant)
    points.push_back(PointAt(m_center, m_radius, quadrant * kTwoPi / 4));
}

Acad::ErrorStatus AcDbCircle::moveGripPointAt(int index, const AcGePoint3d& to) {
  if (index == 0) return moveBy(to - m_center);
  if (index < 0 || index > 4) return Acad::eInvalidIndex;
  return setRadius(DistanceXY(m_center, to));
}

void AcDbCircle::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_center};
}

Acad::ErrorStatus AcDbCircle::moveStretchPointsAt(const std::vector<int>& indices,
                                                  const AcGeVector3d& offset) {
  return Contains(indices, 0) ? moveBy(offset) : Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_center);
  filer->writeVector3d(m_normal);
  filer->writeDouble(m_radius);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  filer->readPoint3d(&m_center);
  filer->readVector3d(&m_normal);
  filer->readDouble(&m_radius);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center) {
  WRITE_GUARD();
  m_center = center;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setRadius(double radius) {
  if (!(radius > 0.0)) return Acad::eInvalidInput;
  WRITE_GUARD();
  m_radius = radius;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
  WRITE_GUARD();
  m_startAngle = NormalAngle(angle);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
  WRITE_GUARD();
  m_endAngle = NormalAngle(angle);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& point) const {
  point = PointAt(m_center, m_radius, m_startAngle);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& point) const {
  point = PointAt(m_center, m_radius, m_endAngle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  m_center += displacement;
  return Acad::eOk;
}

void AcDbArc::gripPoints(std::vector<AcGePoint3d>& points) const {
  double sweep = NormalAngle(m_endAngle - m_startAngle);
  points = {m_center, PointAt(m_center, m_radius, m_startAngle),
            PointAt(m_center, m_radius, m_endAngle),
            PointAt(m_center, m_radius, m_startAngle + sweep / 2)};
}

Acad::ErrorStatus AcDbArc::moveGripPointAt(int index, const AcGePoint3d& to) {
  switch (index) {
    case 0:
      return moveBy(to - m_center);
    case 1:
      return setStartAngle(DirectionXY(m_center, to));
    case 2:
      return setEndAngle(DirectionXY(m_center, to));
    case 3:
      return setRadius(DistanceXY(m_center, to));
    default:
      return Acad::eInvalidIndex;
  }
}

void AcDbArc::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_center, PointAt(m_center, m_radius, m_startAngle),
            PointAt(m_center, m_radius, m_endAngle)};
}

// A crossing stretch moves the whole arc when its centre and both ends are caught; otherwise a
// caught end turns to follow its new position, centre and radius kept.
Acad::ErrorStatus AcDbArc::moveStretchPointsAt(const std::vector<int>& indices,
                                               const AcGeVector3d& offset) {
  if (Contains(indices, 0) && Contains(indices, 1) && Contains(indices, 2)) return moveBy(offset);
  std::vector<AcGePoint3d> points;
  stretchPoints(points);
  if (Contains(indices, 1)) setStartAngle(DirectionXY(m_center, points[1] + offset));
  if (Contains(indices, 2)) setEndAngle(DirectionXY(m_center, points[2] + offset));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_center);
  filer->writeVector3d(m_normal);
  filer->writeDouble(m_radius);
  filer->writeDouble(m_startAngle);
  filer->writeDouble(m_endAngle);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbArc::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  filer->readPoint3d(&m_center);
  filer->readVector3d(&m_normal);
  filer->readDouble(&m_radius);
  filer->readDouble(&m_startAngle);
  filer->readDouble(&m_endAngle);
  return filer->filerStatus();
}
