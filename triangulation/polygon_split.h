// Polygon splitting for the triangle-based area method: checks that a vertex list forms a usable
// polygon and tells its orientation, cuts a clockwise polygon into triangles again and again from
// its widest corner, and orders the corners of a finished triangle. Plane geometry in drawing
// units (millimetres); the caller carries z. Standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace triangulation {

// A point of the XY plane.
struct PlanePoint {
  double x, y;
};

// A directed line in normal form a x + b y + c = 0, with (a, b) a unit vector.
struct PlaneLine {
  double a, b, c;
};

// Where a point lies against a segment from A to B, under a distance tolerance.
enum class SegmentPosition { kAtStart, kAtEnd, kBetween, kBeforeStart, kAfterEnd, kOffLine };

// Where a point lies against a polygon.
enum class PointLocation { kInside, kOutside, kOnBoundary };

// Vertex indices of one triangle into the polygon it was cut from.
using IndexTriangle = std::array<std::size_t, 3>;

// Polygon check verdicts.
inline constexpr int kPolygonCounterClockwise = 1;
inline constexpr int kPolygonClockwise = -1;
inline constexpr int kPolygonDegenerate = -9;
inline constexpr int kPolygonSelfCrossing = -99;

// Most vertices a polygon may have; the check is quadratic and every diagonal test walks the
// whole polygon, so this bounds the work of one split. Unit: points.
inline constexpr std::size_t kMaxPolygonPoints = 256;

// Triangulate outcomes.
inline constexpr int kSplitDone = 1;
inline constexpr int kSplitDegenerate = -2;         // degenerate polygon or no cut found
inline constexpr int kSplitSelfCrossing = -3;       // the polygon crosses itself
inline constexpr int kSplitOutOfMemory = -4;        // the piece table could not grow
inline constexpr int kSplitPieceLeft = -5;          // a piece that is not a triangle remained
inline constexpr int kSplitAngleUnmeasurable = -6;  // a corner with a side shorter than 0.01
inline constexpr int kSplitNoBisector = -7;         // a corner whose bisector could not be formed

// Outcome of Triangulate: on kSplitDone n - 2 triangles in the order their pieces were made.
struct SplitResult {
  int code;
  std::vector<IndexTriangle> triangles;
};

// Line from p towards q, or none when |pq| < tolerance; a point's signed value is negative to the
// left of the direction p to q and positive to the right.
std::optional<PlaneLine> MakeLine(PlanePoint p, PlanePoint q, double tolerance);

// Signed distance of r from the line: negative to its left, positive to its right.
double SignedValue(const PlaneLine& line, PlanePoint r);

// Position of r against segment a-b: at an end when within tolerance of it (a first), off the
// line when at least tolerance from it (or a-b is shorter than tolerance), else between, before a
// or after b along the line.
SegmentPosition ClassifyOnSegment(PlanePoint r, PlanePoint a, PlanePoint b, double tolerance);

// True for the positions that count as on the segment: at either end or between.
bool LiesOnSegment(SegmentPosition position);

// Crossing point of two lines, or none when their directions differ by less than angle_tolerance
// (radians) from parallel or antiparallel.
std::optional<PlanePoint> CrossLines(const PlaneLine& first, const PlaneLine& second,
                                     double angle_tolerance);

// Verdict on a polygon (implicitly closed): kPolygonDegenerate when it has more than
// kMaxPolygonPoints points, two consecutive points 0.0001 or closer, or zero signed area; else
// kPolygonSelfCrossing when two edges without a shared point cross or overlap; else its
// orientation. The verdict does not depend on which vertex comes first.
int CheckPolygon(std::span<const PlanePoint> polygon);

// Interior angle in [0, 6.2831852) radians at corner of a clockwise polygon walked prev, corner,
// next; above pi at a reflex corner. None when either side is shorter than 0.01.
std::optional<double> InteriorAngle(PlanePoint prev, PlanePoint corner, PlanePoint next);

// Location of m: on the boundary when within 0.001 of a vertex or an edge, else inside or outside
// by the angle the boundary winds around it. Either orientation.
PointLocation LocatePoint(std::span<const PlanePoint> polygon, PlanePoint m);

// Number of distinct points (0.001 apart) where segment q-v0 meets the polygon's edges; edges
// parallel to it are not counted. A diagonal that touches the boundary only at its ends gives 2.
int BoundaryCount(std::span<const PlanePoint> polygon, PlanePoint q, PlanePoint v0);

// Splits a clockwise polygon by cuts from the widest corner of each piece along its bisector.
// On kSplitDone: polygon.size() - 2 triangles of distinct polygon vertices, clockwise, which
// tile the polygon. A polygon that CheckPolygon does not call clockwise gives kSplitSelfCrossing
// when it crosses itself, else kSplitDegenerate.
SplitResult Triangulate(std::span<const PlanePoint> polygon);

// The same three points counter-clockwise, with the corner of the largest angle first.
std::array<PlanePoint, 3> OrderTriangle(const std::array<PlanePoint, 3>& corners);

}  // namespace triangulation
