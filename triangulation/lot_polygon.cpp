// A lot drawn as a polyline, made ready for splitting.
#include "triangulation/lot_polygon.h"

#include "common/geometry.h"
#include "common/input.h"
#include "triangulation/polygon_split.h"

namespace area {
namespace {

// What the polyline gave: its vertices, or why it is no lot.
enum class Reading { kRead, kNotPolyline, kCurved, kTooManyVertices, kUnreadable };

template <typename Owner>
std::size_t CountVertices(const Owner* polyline) {
  std::size_t count = 0;
  AcDbObjectIterator* vertices = polyline->vertexIterator();
  for (vertices->start(); !vertices->done(); vertices->step()) ++count;
  delete vertices;
  return count;
}

// A simple 2D polyline still draws an arc where a vertex carries a bulge, as files written by
// other programs do; such a lot has no straight sides to split.
bool HasBulges(const AcDb2dPolyline* polyline) {
  bool bulged = false;
  AcDbObjectIterator* vertices = polyline->vertexIterator();
  for (vertices->start(); !vertices->done() && !bulged; vertices->step()) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, vertices->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    if (const AcDb2dVertex* vertex = AcDb2dVertex::cast(object)) bulged = vertex->bulge() != 0.0;
    object->close();
  }
  delete vertices;
  return bulged;
}

// The vertex count is checked before the vertices are read, so that no list longer than the
// split can take is ever built or compared.
Reading Read2d(const AcDb2dPolyline* polyline, LotVertices& lot) {
  if (polyline->polyType() != AcDb::k2dSimplePoly || HasBulges(polyline)) return Reading::kCurved;
  if (CountVertices(polyline) > triangulation::kMaxPolygonPoints) return Reading::kTooManyVertices;
  lot.apart = PolylineVertices2d(polyline, lot.points);
  return Reading::kRead;
}

Reading Read3d(const AcDb3dPolyline* polyline, LotVertices& lot) {
  if (polyline->polyType() != AcDb::k3dSimplePoly) return Reading::kCurved;
  if (CountVertices(polyline) > triangulation::kMaxPolygonPoints) return Reading::kTooManyVertices;
  lot.apart = PolylineVertices3d(polyline, lot.points);
  return Reading::kRead;
}

Reading ReadLightweight(const AcDbPolyline* polyline, LotVertices& lot) {
  if (!polyline->isOnlyLines()) return Reading::kCurved;
  if (polyline->numVerts() > triangulation::kMaxPolygonPoints) return Reading::kTooManyVertices;
  lot.apart = PolylineVerticesLw(polyline, lot.points);
  return Reading::kRead;
}

Reading ReadPolyline(const AcDbObject* object, LotVertices& lot) {
  if (const AcDb2dPolyline* polyline = AcDb2dPolyline::cast(object)) return Read2d(polyline, lot);
  if (const AcDb3dPolyline* polyline = AcDb3dPolyline::cast(object)) return Read3d(polyline, lot);
  if (const AcDbPolyline* polyline = AcDbPolyline::cast(object))
    return ReadLightweight(polyline, lot);
  return Reading::kNotPolyline;
}

std::vector<triangulation::PlanePoint> PlanePoints(const AcGePoint3dArray& points) {
  std::vector<triangulation::PlanePoint> plane;
  plane.reserve(static_cast<std::size_t>(points.length()));
  for (const AcGePoint3d& point : points) plane.push_back({point.x, point.y});
  return plane;
}

AcGePoint3d AtHeight(const triangulation::PlanePoint& point, double z) {
  return {point.x, point.y, z};
}

}  // namespace

const char* ReadLotVertices(AcDbObjectId entityId, LotVertices& lot) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, entityId, AcDb::kForRead) != Acad::eOk) return kNotPolygonMessage;
  Reading reading = ReadPolyline(object, lot);
  object->close();
  // The readers say "not apart" also when a vertex did not open; only coinciding vertices are
  // the caller's to judge.
  if (reading == Reading::kRead && !lot.apart && !PointsCoincide(lot.points))
    reading = Reading::kUnreadable;
  if (reading == Reading::kRead) return nullptr;
  return reading == Reading::kTooManyVertices ? kUnusableMessage : kNotPolygonMessage;
}

const char* DropClosingVertex(LotVertices& lot) {
  if (lot.apart) return nullptr;
  AcGePoint3dArray& points = lot.points;
  if (points.length() > 1 && points.first().distanceTo(points.last()) <= kCoincidentDistance)
    points.removeLast();
  if (PointsCoincide(points)) return kNotClosedRegionMessage;
  lot.apart = true;
  return nullptr;
}

const char* MakeClockwise(AcGePoint3dArray& points) {
  switch (triangulation::CheckPolygon(PlanePoints(points))) {
    case triangulation::kPolygonClockwise:
      return nullptr;
    case triangulation::kPolygonCounterClockwise:
      points.reverse();
      return nullptr;
    case triangulation::kPolygonSelfCrossing:
      return kTwistedMessage;
    default:
      return kUnusableMessage;
  }
}

std::optional<std::vector<LotTriangle>> SplitLot(const AcGePoint3dArray& points) {
  if (points.isEmpty()) return std::nullopt;
  const std::vector<triangulation::PlanePoint> plane = PlanePoints(points);
  const triangulation::SplitResult split = triangulation::Triangulate(plane);
  if (split.code != triangulation::kSplitDone) return std::nullopt;
  const double z = points.first().z;
  std::vector<LotTriangle> triangles;
  for (const triangulation::IndexTriangle& corners : split.triangles) {
    const std::array<triangulation::PlanePoint, 3> ordered =
        triangulation::OrderTriangle({plane[corners[0]], plane[corners[1]], plane[corners[2]]});
    triangles.push_back(
        {AtHeight(ordered[0], z), AtHeight(ordered[1], z), AtHeight(ordered[2], z)});
  }
  return triangles;
}

}  // namespace area
