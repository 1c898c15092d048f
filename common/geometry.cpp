// Plane geometry of figures.
#include "common/geometry.h"

#include <cmath>
#include <numbers>

#include "common/input.h"
#include "common/system_variables.h"

namespace area {
namespace {

// The degree conversion of block insertion angles keeps the host's eight-decimal π.
constexpr double kInsertionPi = 3.14159265;

// A direction turned back by `start`, in [0, 2π).
double TurnedBack(double angle, double start) {
  double turned = angle - start;
  if (turned < 0.0) turned += kFullTurn;
  return turned;
}

template <typename Vertex, typename Owner>
bool ReadVertexPositions(const Owner* polyline, AcGePoint3dArray& points) {
  AcDbObjectIterator* vertices = polyline->vertexIterator();
  bool complete = true;
  for (vertices->start(); !vertices->done(); vertices->step()) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, vertices->objectId(), AcDb::kForRead) != Acad::eOk) {
      complete = false;
      break;
    }
    if (const Vertex* vertex = Vertex::cast(object)) points.append(vertex->position());
    object->close();
  }
  delete vertices;
  return complete;
}

}  // namespace

void ToAdsPoint(const AcGePoint3d& point, ads_point out) {
  out[X] = point.x;
  out[Y] = point.y;
  out[Z] = point.z;
}

AcGePoint3d FromAdsPoint(const ads_point point) {
  return {point[X], point[Y], point[Z]};
}

double SegmentAngle(const AcGePoint3d& p, const AcGePoint3d& q) {
  ads_point from, to;
  ToAdsPoint(p, from);
  ToAdsPoint(q, to);
  return acutAngle(from, to);
}

AcGePoint3d Midpoint(const AcGePoint3d& p, const AcGePoint3d& q) {
  ads_point from, to;
  ToAdsPoint(p, from);
  ToAdsPoint(q, to);
  return PolarPoint(p, acutAngle(from, to), acutDistance(from, to) / 2.0);
}

AcGePoint3d PolarPoint(const AcGePoint3d& p, double angle, double distance) {
  ads_point base, result;
  ToAdsPoint(p, base);
  acutPolar(base, angle, distance, result);
  return FromAdsPoint(result);
}

std::optional<AcGePoint3d> LineIntersection(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                            const AcGePoint3d& q1, const AcGePoint3d& q2,
                                            bool segmentsOnly) {
  ads_point a1, a2, b1, b2, crossing;
  ToAdsPoint(p1, a1);
  ToAdsPoint(p2, a2);
  ToAdsPoint(q1, b1);
  ToAdsPoint(q2, b2);
  if (acdbInters(a1, a2, b1, b2, segmentsOnly ? 1 : 0, crossing) != RTNORM) return std::nullopt;
  return FromAdsPoint(crossing);
}

bool PointOnArcSweep(const AcGePoint3d& centre, const AcGePoint3d& start, const AcGePoint3d& middle,
                     const AcGePoint3d& end) {
  const double s = SegmentAngle(centre, start);
  const double e = SegmentAngle(centre, end);
  const double m = SegmentAngle(centre, middle);
  if (s <= e) return s < m && m < e;
  const double turnedMiddle = TurnedBack(m, s);
  return 0.0 < turnedMiddle && turnedMiddle < TurnedBack(e, s);
}

std::optional<ArcGeometry> ReadArc(AcDbObjectId arcId) {
  AcDbArc* arc = nullptr;
  if (acdbOpenObject(arc, arcId, AcDb::kForRead) != Acad::eOk) return std::nullopt;
  ArcGeometry geometry{arc->center(), arc->radius(), arc->startAngle(), arc->endAngle()};
  arc->close();
  return geometry;
}

TextPlacement PlaceAlongText(const AcGePoint3d& p, const AcGePoint3d& q, double textSize) {
  const double rotation = SegmentAngle(p, q);
  const AcGePoint3d position =
      PolarPoint(Midpoint(p, q), rotation + kQuarterTurn, textSize * kTextOffsetFactor);
  return {position, rotation};
}

TextPlacement PlaceAlongText(const AcGePoint3d& p, const AcGePoint3d& q) {
  return PlaceAlongText(p, q, CurrentTextSize());
}

TextPlacement PlaceBesideText(const AcGePoint3d& p, const AcGePoint3d& q, const AcGePoint3d& r,
                              double textSize) {
  const double rotation = SegmentAngle(r, q);
  const double distance = textSize * kTextOffsetFactor + kAngleArcFactor * p.distanceTo(q);
  return {PolarPoint(p, rotation + kQuarterTurn, distance), rotation};
}

TextPlacement PlaceBesideText(const AcGePoint3d& p, const AcGePoint3d& q, const AcGePoint3d& r) {
  return PlaceBesideText(p, q, r, CurrentTextSize());
}

double CurrentTextSize() {
  double size = 0.0;
  if (!GetRealVar(kTextSizeVar, size)) return 0.0;
  return size;
}

int MovedVertex(const AcGePoint3dArray& before, const AcGePoint3dArray& after) {
  constexpr int kCorners = 4;
  if (before.length() != kCorners || after.length() != kCorners) return -1;
  for (int i = 0; i < kCorners; ++i)
    if (before[i].distanceTo(after[i]) > kCoincidentDistance) return i;
  return -1;
}

bool SetFirstVertices(AcDbObjectId polylineId, const AcGePoint3dArray& points) {
  constexpr int kCorners = 4;
  AcDb2dPolyline* polyline = nullptr;
  if (acdbOpenObject(polyline, polylineId, AcDb::kForRead) != Acad::eOk) return false;
  const std::vector<AcDbObjectId> vertexIds = polyline->vertexIds();
  bool complete = static_cast<int>(vertexIds.size()) >= kCorners && points.length() >= kCorners;
  for (int i = 0; complete && i < kCorners; ++i) {
    AcDb2dVertex* vertex = nullptr;
    if (polyline->openVertex(vertex, vertexIds[static_cast<std::size_t>(i)], AcDb::kForWrite) !=
        Acad::eOk) {
      complete = false;
      break;
    }
    vertex->setPosition(points[i]);
    vertex->close();
  }
  polyline->close();
  return complete;
}

std::optional<AcGePoint3d> CircleCentre3(const AcGePoint3d& p0, const AcGePoint3d& p1,
                                         const AcGePoint3d& p2) {
  const double a1 = SegmentAngle(p0, p1);
  const double a2 = SegmentAngle(p1, p2);
  const AcGePoint3d m1 = Midpoint(p0, p1);
  const AcGePoint3d m2 = Midpoint(p1, p2);
  const AcGePoint3d e1 = PolarPoint(m1, a1 + kQuarterTurn, kBisectorHelperLength);
  const AcGePoint3d e2 = PolarPoint(m2, a2 + kQuarterTurn, kBisectorHelperLength);
  return LineIntersection(m1, e1, m2, e2, false);
}

ArcGeometry ArcFrom3(const AcGePoint3d& centre, AcGePoint3dArray& points) {
  if (!PointOnArcSweep(centre, points[0], points[1], points[2])) std::swap(points[0], points[2]);
  return {centre, centre.distanceTo(points[0]), SegmentAngle(centre, points[0]),
          SegmentAngle(centre, points[2])};
}

double ArcSweep(double startAngle, double endAngle) {
  if (endAngle >= startAngle) return endAngle - startAngle;
  return endAngle + (kFullTurn - startAngle);
}

double SweepDegrees(double sweep) {
  return sweep * 180.0 / std::numbers::pi;
}

bool PolylineVertices2d(AcDbObjectId polylineId, AcGePoint3dArray& points) {
  AcDb2dPolyline* polyline = nullptr;
  if (acdbOpenObject(polyline, polylineId, AcDb::kForRead) != Acad::eOk) return false;
  const bool read = PolylineVertices2d(polyline, points);
  polyline->close();
  return read;
}

bool PolylineVertices2d(const AcDb2dPolyline* polyline, AcGePoint3dArray& points) {
  if (!ReadVertexPositions<AcDb2dVertex>(polyline, points)) return false;
  return !PointsCoincide(points);
}

bool PolylineVertices3d(const AcDb3dPolyline* polyline, AcGePoint3dArray& points) {
  if (!ReadVertexPositions<AcDb3dPolylineVertex>(polyline, points)) return false;
  return !PointsCoincide(points);
}

bool PolylineVerticesLw(const AcDbPolyline* polyline, AcGePoint3dArray& points) {
  for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
    AcGePoint3d point;
    if (polyline->getPointAt(i, point) != Acad::eOk) return false;
    points.append(point);
  }
  return !PointsCoincide(points);
}

double DistanceXY(const AcGePoint3d& p, const AcGePoint3d& q) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  return std::sqrt(dx * dx + dy * dy);
}

std::optional<PlaneLine> LineThrough(const AcGePoint3d& p, const AcGePoint3d& q,
                                     double minimumLength) {
  if (DistanceXY(p, q) < minimumLength) return std::nullopt;
  const double theta = std::atan2(q.y - p.y, q.x - p.x);
  PlaneLine line;
  line.a = std::sin(theta);
  line.b = -std::cos(theta);
  line.c = -(line.a * p.x + line.b * p.y);
  return line;
}

std::optional<Foot> PerpendicularFoot(const AcGePoint3d& p, const PlaneLine& line) {
  const double k = -(line.a * line.a + line.b * line.b);
  if (std::fabs(k) <= kDegenerateNormal) return std::nullopt;
  const double e = line.b * p.x - line.a * p.y;
  const AcGePoint3d foot((line.a * line.c - line.b * e) / k, (e * line.a + line.b * line.c) / k,
                         p.z);
  return Foot{foot, DistanceXY(p, foot)};
}

double RadiansToDegrees(double angle) {
  return angle * 180.0 / kInsertionPi;
}

bool SameHandle(const AcDbHandle& a, const AcDbHandle& b) {
  return a.low() == b.low() && a.high() == b.high();
}

}  // namespace area
