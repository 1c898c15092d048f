// Plane geometry of figures: angles, midpoints, text placements, perpendicular feet, the circle
// through three points and the arc that runs through them, corner tracking and polyline vertices.
//
// Points are world coordinates. Angles are radians counter-clockwise from +X in [0, 2π), as the
// host's acutAngle gives them; a polar point keeps the z of its base point. A figure and its later
// recomputation both place their texts through these functions, so they agree to the digit.
#pragma once

#include <numbers>
#include <optional>

#include "cad/arx.h"

namespace area {

// Turns in radians, exact to the double.
inline constexpr double kQuarterTurn = std::numbers::pi / 2.0;
inline constexpr double kHalfTurn = std::numbers::pi;
inline constexpr double kThreeQuarterTurns = 3.0 * std::numbers::pi / 2.0;
inline constexpr double kFullTurn = 2.0 * std::numbers::pi;

// Two picked points this close (drawing units, 3D) are one point; also the distance by which a
// vertex must move to count as moved.
inline constexpr double kCoincidentDistance = 0.0001;

// A line normal (a, b) whose squared length is not above this is degenerate (dimensionless).
inline constexpr double kDegenerateNormal = 0.0001;

// Distance of the helper point of a perpendicular bisector from its midpoint (drawing units); any
// length works, this one keeps the host's intersection well conditioned for drawn figures.
inline constexpr double kBisectorHelperLength = 100.0;

// Value texts sit this fraction of TEXTSIZE off the segment they measure.
inline constexpr double kTextOffsetFactor = 1.0 / 3.0;

// The angle text of a sector or lune sits just outside the angle arc, whose radius is this
// fraction of the figure's radius.
inline constexpr double kAngleArcFactor = 0.1;

// A line a·x + b·y + c = 0 with (a, b) a unit normal.
struct PlaneLine {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
};

// The foot of a perpendicular and the distance to it in the XY plane.
struct Foot {
  AcGePoint3d point;
  double distance = 0.0;
};

// Where a value text goes: its alignment point and rotation (radians).
struct TextPlacement {
  AcGePoint3d position;
  double rotation = 0.0;
};

// An arc as the host stores it: it runs counter-clockwise from start to end.
struct ArcGeometry {
  AcGePoint3d centre;
  double radius = 0.0;
  double startAngle = 0.0;
  double endAngle = 0.0;
};

// Copies a point into the host's ads form.
void ToAdsPoint(const AcGePoint3d& point, ads_point out);
AcGePoint3d FromAdsPoint(const ads_point point);

// Direction of p→q (acutAngle), in [0, 2π).
double SegmentAngle(const AcGePoint3d& p, const AcGePoint3d& q);

// Half way from p towards q: the polar point from p at SegmentAngle(p, q) over half the 3D
// distance; it keeps p's z.
AcGePoint3d Midpoint(const AcGePoint3d& p, const AcGePoint3d& q);

// The host's polar point: from p at `angle` over `distance`, keeping p's z.
AcGePoint3d PolarPoint(const AcGePoint3d& p, double angle, double distance);

// Intersection of the line p1-p2 with the line q1-q2 (within both segments when segmentsOnly);
// nothing for parallel lines or no crossing within the segments.
std::optional<AcGePoint3d> LineIntersection(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                            const AcGePoint3d& q1, const AcGePoint3d& q2,
                                            bool segmentsOnly);

// Whether middle's direction from centre lies strictly inside the counter-clockwise sweep from
// start's direction to end's direction. A sweep that passes direction 0 is turned back by the
// start direction first. Directions equal to an end are outside.
bool PointOnArcSweep(const AcGePoint3d& centre, const AcGePoint3d& start, const AcGePoint3d& middle,
                     const AcGePoint3d& end);

// Centre, radius and angles of an arc entity; nothing when it does not open as an arc.
std::optional<ArcGeometry> ReadArc(AcDbObjectId arcId);

// Placement of the value text of segment p→q: rotated along the segment, at the segment's
// midpoint moved textSize/3 to the left of the direction.
TextPlacement PlaceAlongText(const AcGePoint3d& p, const AcGePoint3d& q, double textSize);
// The same with the drawing's current TEXTSIZE.
TextPlacement PlaceAlongText(const AcGePoint3d& p, const AcGePoint3d& q);

// Placement of the angle text of a sector or lune with centre p, start q and end r: rotated along
// r→q, at textSize/3 + 0.1·|pq| from p to the left of that direction, which is the bisector just
// outside the angle arc.
TextPlacement PlaceBesideText(const AcGePoint3d& p, const AcGePoint3d& q, const AcGePoint3d& r,
                              double textSize);
TextPlacement PlaceBesideText(const AcGePoint3d& p, const AcGePoint3d& q, const AcGePoint3d& r);

// The drawing's TEXTSIZE, or 0 (after the system-variable message) when it cannot be read.
double CurrentTextSize();

// Index (0 to 3) of the first corner that moved by more than kCoincidentDistance between the two
// lists; -1 when none moved or when either list does not hold exactly four points.
int MovedVertex(const AcGePoint3dArray& before, const AcGePoint3dArray& after);

// Moves the first four vertices of a 2D polyline to the first four points, each vertex opened
// for write on its own; false when the polyline, a vertex or a point is missing.
bool SetFirstVertices(AcDbObjectId polylineId, const AcGePoint3dArray& points);

// Centre of the circle through three points: the crossing of the perpendicular bisectors of
// p0-p1 and p1-p2; nothing for three points on one line.
std::optional<AcGePoint3d> CircleCentre3(const AcGePoint3d& p0, const AcGePoint3d& p1,
                                         const AcGePoint3d& p2);

// The arc with `centre` through points[0], points[1], points[2], counter-clockwise: when
// points[1] is not inside the sweep from points[0] to points[2], those two are exchanged in the
// list. Start and end are the directions of points[0] and points[2]; the radius is the 3D distance
// to points[0]. The list must hold at least three points.
ArcGeometry ArcFrom3(const AcGePoint3d& centre, AcGePoint3dArray& points);

// Counter-clockwise sweep (radians) from the start to the end angle, in [0, 2π).
double ArcSweep(double startAngle, double endAngle);

// Sweep in degrees (radians × 180 / π) for the angle values of sectors and lunes.
double SweepDegrees(double sweep);

// Vertex positions of a polyline in order; false when it cannot be read or two of its vertices
// lie within kCoincidentDistance (3D) of each other. By id, an entity that is not an
// AcDb2dPolyline gives false.
bool PolylineVertices2d(AcDbObjectId polylineId, AcGePoint3dArray& points);
bool PolylineVertices2d(const AcDb2dPolyline* polyline, AcGePoint3dArray& points);
bool PolylineVertices3d(const AcDb3dPolyline* polyline, AcGePoint3dArray& points);
bool PolylineVerticesLw(const AcDbPolyline* polyline, AcGePoint3dArray& points);

// Distance in the XY plane.
double DistanceXY(const AcGePoint3d& p, const AcGePoint3d& q);

// The line through p and q; nothing when they are closer than minimumLength in the XY plane.
std::optional<PlaneLine> LineThrough(const AcGePoint3d& p, const AcGePoint3d& q,
                                     double minimumLength);

// Foot of the perpendicular from p on the line (taking p's z) and its XY distance from p;
// nothing when the line's normal is degenerate (kDegenerateNormal).
std::optional<Foot> PerpendicularFoot(const AcGePoint3d& p, const PlaneLine& line);

// angle × 180 / 3.14159265, the conversion used for block insertion angles.
double RadiansToDegrees(double angle);

// Whether both 32-bit halves of the handles agree.
bool SameHandle(const AcDbHandle& a, const AcDbHandle& b);

}  // namespace area
