// Polygon splitting for the triangle-based area method. Reads top to bottom: plane primitives,
// the polygon check, the tests a cut must pass, the split itself, and the ordering of a triangle.
#include "triangulation/polygon_split.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <numeric>
#include <utility>

namespace triangulation {
namespace {

// Half a turn cut to eight decimals; lines whose normals lie this far apart are antiparallel.
// Unit: radians.
constexpr double kHalfTurn = 3.14159265;

// The dot product of the unit vectors from a point towards a segment's ends lies below this when
// the point is between them (-1 exactly on the segment, +1 outside it). Unitless.
constexpr double kBetweenDotLimit = 0.5;

double Distance(PlanePoint p, PlanePoint q) {
  return std::hypot(q.x - p.x, q.y - p.y);
}

// Cross product of p - origin and q - origin: positive when p to q turns counter-clockwise.
double Cross(PlanePoint origin, PlanePoint p, PlanePoint q) {
  return (p.x - origin.x) * (q.y - origin.y) - (p.y - origin.y) * (q.x - origin.x);
}

// Dot product of the unit vectors from origin towards p and towards q, neither at origin.
double UnitDot(PlanePoint origin, PlanePoint p, PlanePoint q) {
  const double dot = (p.x - origin.x) * (q.x - origin.x) + (p.y - origin.y) * (q.y - origin.y);
  return std::clamp(dot / (Distance(origin, p) * Distance(origin, q)), -1.0, 1.0);
}

// Angle at origin between the directions to p and to q, 0 to pi.
double AngleBetween(PlanePoint origin, PlanePoint p, PlanePoint q) {
  return std::acos(UnitDot(origin, p, q));
}

// Screens that pass by edges which cannot meet a line or a point before the exact tests run:
// a point that lies on a segment under the split's tolerances lies within a few of them of it,
// so what stays farther than this margin is never met. The margin is a thousand tolerances and
// grows with the coordinates, so that rounding never decides. Unit: millimetres.
constexpr double kScreenMargin = 1.0;
constexpr double kRelativeScreenMargin = 1e-9;

double ScreenMargin(PlanePoint a, PlanePoint b) {
  return kScreenMargin +
         kRelativeScreenMargin * (std::abs(a.x) + std::abs(a.y) + std::abs(b.x) + std::abs(b.y));
}

// Whether p and q both lie beyond the margin on one side of the line through a and b.
bool OneSideOf(PlanePoint a, PlanePoint b, PlanePoint p, PlanePoint q) {
  const double limit =
      ScreenMargin(a, b) * std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
  const double cp = Cross(a, p, b), cq = Cross(a, q, b);
  return (cp > limit && cq > limit) || (cp < -limit && cq < -limit);
}

// Whether p lies within the margin of the box of segment a-b.
bool NearBox(PlanePoint p, PlanePoint a, PlanePoint b) {
  const double margin = ScreenMargin(a, b);
  return p.x >= std::min(a.x, b.x) - margin && p.x <= std::max(a.x, b.x) + margin &&
         p.y >= std::min(a.y, b.y) - margin && p.y <= std::max(a.y, b.y) + margin;
}

}  // namespace

std::optional<PlaneLine> MakeLine(PlanePoint p, PlanePoint q, double tolerance) {
  const double length = Distance(p, q);
  if (length < tolerance) return std::nullopt;
  const double a = (q.y - p.y) / length;   // sine of the direction
  const double b = -(q.x - p.x) / length;  // minus its cosine
  return PlaneLine{a, b, -(p.x * a + p.y * b)};
}

double SignedValue(const PlaneLine& line, PlanePoint r) {
  return line.a * r.x + line.b * r.y + line.c;
}

namespace {

// ClassifyOnSegment, with the line through a and b (MakeLine(a, b, tolerance)) from `lineOf`,
// asked only when needed: a caller that has made that line already hands it on.
template <typename LineOf>
SegmentPosition Classify(PlanePoint r, PlanePoint a, PlanePoint b, double tolerance,
                         LineOf lineOf) {
  const double to_a = Distance(r, a);
  const double to_b = Distance(r, b);
  if (to_a < tolerance) return SegmentPosition::kAtStart;
  if (to_b < tolerance) return SegmentPosition::kAtEnd;
  const std::optional<PlaneLine> line = lineOf();
  if (!line || std::abs(SignedValue(*line, r)) >= tolerance) return SegmentPosition::kOffLine;
  // UnitDot(r, a, b), with the two distances it would work out again.
  const double dot = (a.x - r.x) * (b.x - r.x) + (a.y - r.y) * (b.y - r.y);
  if (std::clamp(dot / (to_a * to_b), -1.0, 1.0) < kBetweenDotLimit)
    return SegmentPosition::kBetween;
  return to_b > to_a ? SegmentPosition::kBeforeStart : SegmentPosition::kAfterEnd;
}

}  // namespace

SegmentPosition ClassifyOnSegment(PlanePoint r, PlanePoint a, PlanePoint b, double tolerance) {
  return Classify(r, a, b, tolerance, [&] { return MakeLine(a, b, tolerance); });
}

bool LiesOnSegment(SegmentPosition position) {
  return position == SegmentPosition::kAtStart || position == SegmentPosition::kBetween ||
         position == SegmentPosition::kAtEnd;
}

std::optional<PlanePoint> CrossLines(const PlaneLine& first, const PlaneLine& second,
                                     double angle_tolerance) {
  const double cosine = std::clamp(first.a * second.a + first.b * second.b, -1.0, 1.0);
  const double angle = std::acos(cosine);
  if (angle < angle_tolerance || std::abs(angle - kHalfTurn) < angle_tolerance) return std::nullopt;
  const double f = first.a * second.b - first.b * second.a;
  return PlanePoint{(first.b * second.c - first.c * second.b) / f,
                    (second.a * first.c - first.a * second.c) / f};
}

// ---- Polygon check ----

namespace {

// Consecutive points this close or closer make a polygon degenerate, and two edges come this
// close before they count as crossing or overlapping. Unit: millimetres.
constexpr double kCheckLength = 0.0001;

// Edges whose directions differ by less than this from parallel are tested for overlap instead
// of crossing. Unit: radians.
constexpr double kCheckAngle = 0.0001;

// Whether collinear edges a and b share a stretch: b starts on a, or starts beyond one end of a
// and does not end beyond the same end.
bool ParallelEdgesOverlap(PlanePoint a0, PlanePoint a1, PlanePoint b0, PlanePoint b1) {
  const SegmentPosition start = ClassifyOnSegment(b0, a0, a1, kCheckLength);
  if (start == SegmentPosition::kOffLine) return false;
  if (LiesOnSegment(start)) return true;
  return ClassifyOnSegment(b1, a0, a1, kCheckLength) != start;
}

// Whether edges a0-a1 and b0-b1 cross or overlap.
bool EdgesMeet(PlanePoint a0, PlanePoint a1, PlanePoint b0, PlanePoint b1) {
  const auto line_a = MakeLine(a0, a1, kCheckLength);
  const auto line_b = MakeLine(b0, b1, kCheckLength);
  if (!line_a || !line_b) return false;
  const auto crossing = CrossLines(*line_a, *line_b, kCheckAngle);
  if (!crossing) return ParallelEdgesOverlap(a0, a1, b0, b1);
  return LiesOnSegment(ClassifyOnSegment(*crossing, a0, a1, kCheckLength)) &&
         LiesOnSegment(ClassifyOnSegment(*crossing, b0, b1, kCheckLength));
}

// Sines of the angle between two edges below this screen them as near parallel; their overlap
// test is not local, so they always take the exact test. Ten times the check angle. Unitless.
constexpr double kNearParallelSine = 10.0 * kCheckAngle;

// False only where EdgesMeet is false: edges of clearly different directions whose ends lie
// apart on one side of the other's line.
bool MayMeet(PlanePoint a0, PlanePoint a1, PlanePoint b0, PlanePoint b1) {
  const double ux = a1.x - a0.x, uy = a1.y - a0.y, vx = b1.x - b0.x, vy = b1.y - b0.y;
  const double sine = ux * vy - uy * vx;
  const double lengths = (ux * ux + uy * uy) * (vx * vx + vy * vy);
  if (sine * sine <= kNearParallelSine * kNearParallelSine * lengths) return true;
  return !OneSideOf(a0, a1, b0, b1) && !OneSideOf(b0, b1, a0, a1);
}

// Orientation by the signed area under the edges, or degenerate for short edges or no area.
int Orientation(std::span<const PlanePoint> polygon) {
  const std::size_t n = polygon.size();
  double twice_area = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint p = polygon[i];
    const PlanePoint q = polygon[(i + 1) % n];
    if (Distance(p, q) <= kCheckLength) return kPolygonDegenerate;
    twice_area += (q.x - p.x) * (q.y + p.y);
  }
  if (twice_area < 0.0) return kPolygonCounterClockwise;
  if (twice_area > 0.0) return kPolygonClockwise;
  return kPolygonDegenerate;
}

// Whether any edge E(k) meets a later edge with which it shares no point.
bool CrossesItself(std::span<const PlanePoint> polygon) {
  const std::size_t n = polygon.size();
  for (std::size_t k = 0; k + 2 < n; ++k) {
    // E(0) shares point 0 with the closing edge E(n - 1), so its range stops one edge short: a
    // lot starting on a straight side would otherwise overlap itself. No other edge is excused.
    const std::size_t last = k == 0 ? n - 2 : n - 1;
    for (std::size_t j = k + 2; j <= last; ++j) {
      const PlanePoint b0 = polygon[j], b1 = polygon[(j + 1) % n];
      if (MayMeet(polygon[k], polygon[k + 1], b0, b1) &&
          EdgesMeet(polygon[k], polygon[k + 1], b0, b1))
        return true;
    }
  }
  return false;
}

}  // namespace

int CheckPolygon(std::span<const PlanePoint> polygon) {
  if (polygon.size() > kMaxPolygonPoints) return kPolygonDegenerate;
  const int orientation = Orientation(polygon);
  if (orientation == kPolygonDegenerate || polygon.size() < 3) return orientation;
  return CrossesItself(polygon) ? kPolygonSelfCrossing : orientation;
}

// ---- Tests a cut must pass ----

namespace {

// Lines, crossings and points on segments of the split use this distance tolerance; it is also
// the least length of a bisector. Unit: millimetres.
constexpr double kSplitLength = 0.001;

// Lines of the split closer than this to parallel do not cross, and a boundary edge subtending
// less than this at a point is left out of its winding sum. Unit: radians.
constexpr double kSplitAngle = 0.001;

// Shortest side along which a corner's angle can be measured. Unit: millimetres.
constexpr double kShortestMeasurableSide = 0.01;

// A full turn, cut to seven decimals. Unit: radians.
constexpr double kFullTurn = 6.2831852;

// How far a winding sum may stray from a full turn and still mean inside. Unit: radians.
constexpr double kQuarterTurn = 1.5707963;

// A diagonal that meets the boundary anywhere but at its two ends is no diagonal.
constexpr int kDiagonalBoundaryPoints = 2;

}  // namespace

std::optional<double> InteriorAngle(PlanePoint prev, PlanePoint corner, PlanePoint next) {
  if (Distance(corner, prev) < kShortestMeasurableSide ||
      Distance(corner, next) < kShortestMeasurableSide) {
    return std::nullopt;
  }
  const double angle = AngleBetween(corner, prev, next);
  // The polygon runs clockwise, so a next point right of corner-to-prev turns the corner reflex.
  const auto back = MakeLine(corner, prev, kSplitLength);
  return back && SignedValue(*back, next) > 0.0 ? kFullTurn - angle : angle;
}

PointLocation LocatePoint(std::span<const PlanePoint> polygon, PlanePoint m) {
  const std::size_t n = polygon.size();
  double winding = 0.0;
  bool first_counterclockwise = false;
  bool counted = false;
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint a = polygon[i];
    const PlanePoint b = polygon[(i + 1) % n];
    if (LiesOnSegment(ClassifyOnSegment(m, a, b, kSplitLength))) return PointLocation::kOnBoundary;
    const double angle = AngleBetween(m, a, b);
    if (angle < kSplitAngle) continue;
    const bool counterclockwise = Cross(m, a, b) > 0.0;
    if (!counted) first_counterclockwise = counterclockwise;
    counted = true;
    winding += counterclockwise == first_counterclockwise ? angle : -angle;
  }
  return std::abs(std::abs(winding) - kFullTurn) <= kQuarterTurn ? PointLocation::kInside
                                                                 : PointLocation::kOutside;
}

namespace {

// The box of an edge, lowest and highest coordinates.
struct EdgeBox {
  double lowX, highX, lowY, highY;
};

std::vector<EdgeBox> EdgeBoxes(std::span<const PlanePoint> polygon) {
  std::vector<EdgeBox> boxes;
  boxes.reserve(polygon.size());
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const PlanePoint a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    boxes.push_back(
        {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)});
  }
  return boxes;
}

// A screen margin that holds for every edge of the polygon.
double PolygonMargin(std::span<const PlanePoint> polygon) {
  double largest = 0.0;
  for (const PlanePoint& p : polygon) largest = std::max(largest, std::abs(p.x) + std::abs(p.y));
  return kScreenMargin + 2.0 * kRelativeScreenMargin * largest;
}

// BoundaryCount, stopping once `most` points are met.
// An edge whose box, widened by the polygon's margin, misses the cut's box is never met.
// `lineOf(i)` is edge i's MakeLine(a, b, kSplitLength); `met` is room for the points met.
template <typename LineOf>
int CountMeetings(std::span<const PlanePoint> polygon, std::span<const EdgeBox> boxes,
                  LineOf lineOf, PlanePoint q, PlanePoint v0, std::size_t most, double margin,
                  std::vector<PlanePoint>& met) {
  const auto cut = MakeLine(q, v0, kSplitLength);
  if (!cut) return 0;
  const double lowX = std::min(q.x, v0.x) - margin, highX = std::max(q.x, v0.x) + margin;
  const double lowY = std::min(q.y, v0.y) - margin, highY = std::max(q.y, v0.y) + margin;
  met.clear();
  const std::size_t n = polygon.size();
  for (std::size_t i = 0; i < n && met.size() < most; ++i) {
    const EdgeBox& box = boxes[i];
    if (box.highX < lowX || box.lowX > highX || box.highY < lowY || box.lowY > highY) continue;
    const PlanePoint a = polygon[i];
    const PlanePoint b = polygon[(i + 1) % n];
    if (OneSideOf(q, v0, a, b) || OneSideOf(a, b, q, v0)) continue;
    const std::optional<PlaneLine>& edge = lineOf(i);
    const auto x = edge ? CrossLines(*cut, *edge, kSplitAngle) : std::nullopt;
    if (!x || !LiesOnSegment(Classify(*x, a, b, kSplitLength, [&] { return edge; })) ||
        !LiesOnSegment(Classify(*x, q, v0, kSplitLength, [&] { return cut; }))) {
      continue;
    }
    const bool known = std::any_of(met.begin(), met.end(),
                                   [&](PlanePoint p) { return Distance(p, *x) < kSplitLength; });
    if (!known) met.push_back(*x);
  }
  return static_cast<int>(met.size());
}

}  // namespace

int BoundaryCount(std::span<const PlanePoint> polygon, PlanePoint q, PlanePoint v0) {
  const std::size_t n = polygon.size();
  std::vector<PlanePoint> met;
  return CountMeetings(
      polygon, EdgeBoxes(polygon),
      [&](std::size_t i) { return MakeLine(polygon[i], polygon[(i + 1) % n], kSplitLength); }, q,
      v0, n + 1, PolygonMargin(polygon), met);
}

// ---- The split ----

namespace {

// Vertex indices into the input polygon, clockwise; a piece of three is a finished triangle.
using Piece = std::vector<std::size_t>;

// The interior angle last worked out at a vertex, between the neighbours it had then. A cut gives
// new neighbours to its two ends only: the other corners of a piece keep their angles.
struct KnownCorner {
  std::size_t prev = SIZE_MAX, next = SIZE_MAX;
  double angle = 0.0;
};

// Working store of one split, released on every way out.
struct SplitRun {
  std::span<const PlanePoint> polygon;  // every diagonal is tested against the whole input
  std::vector<Piece> pieces;            // the piece table; new pieces take the next slot
  std::vector<double> angles;           // interior angles of the piece being cut
  double margin;                        // screen margin of the polygon's edges
  std::vector<EdgeBox> edgeBoxes;       // of the whole input's edges
  std::vector<KnownCorner> corners;     // by vertex of the input
  std::vector<std::optional<PlaneLine>> edgeLines;  // of the whole input's edges, as MakeLine
  mutable std::vector<PlanePoint> met;              // room for a diagonal's boundary points
};

std::vector<std::optional<PlaneLine>> EdgeLines(std::span<const PlanePoint> polygon) {
  std::vector<std::optional<PlaneLine>> lines;
  lines.reserve(polygon.size());
  for (std::size_t i = 0; i < polygon.size(); ++i)
    lines.push_back(MakeLine(polygon[i], polygon[(i + 1) % polygon.size()], kSplitLength));
  return lines;
}

// The interior angle at vertex `at` between `prev` and `next`, worked out once for those three.
std::optional<double> CornerAt(SplitRun& run, std::size_t prev, std::size_t at, std::size_t next) {
  KnownCorner& known = run.corners[at];
  if (known.prev == prev && known.next == next) return known.angle;
  const auto angle = InteriorAngle(run.polygon[prev], run.polygon[at], run.polygon[next]);
  if (angle) known = {prev, next, *angle};
  return angle;
}

// Turns the piece so that its widest corner (the first of equal ones) comes first; its angle.
std::optional<double> RotateToWidestCorner(SplitRun& run, Piece& piece) {
  const std::size_t k = piece.size();
  for (std::size_t j = 0; j < k; ++j) {
    const auto angle = CornerAt(run, piece[(j + k - 1) % k], piece[j], piece[(j + 1) % k]);
    if (!angle) return std::nullopt;
    run.angles[j] = *angle;
  }
  const auto widest = std::max_element(run.angles.begin(), run.angles.begin() + k);
  std::rotate(piece.begin(), piece.begin() + (widest - run.angles.begin()), piece.end());
  return *widest;
}

// Bisector of the first corner: the line to the previous vertex turned counter-clockwise by
// half the corner's angle.
std::optional<PlaneLine> Bisector(const SplitRun& run, const Piece& piece, double angle) {
  const PlanePoint d0 = run.polygon[piece.front()];
  const PlanePoint prev = run.polygon[piece.back()];
  const double cosine = std::cos(angle / 2.0);
  const double sine = std::sin(angle / 2.0);
  const double dx = prev.x - d0.x;
  const double dy = prev.y - d0.y;
  const PlanePoint turned{d0.x + dx * cosine - dy * sine, d0.y + dx * sine + dy * cosine};
  return MakeLine(d0, turned, kSplitLength);
}

// Vertex to cut to when the bisector crosses edge (d_e, d_e+1): the nearer end, but never a
// neighbour of the first corner. None when the crossing is off the edge.
std::optional<std::size_t> CandidateOnEdge(const SplitRun& run, const Piece& piece,
                                           const PlaneLine& bisector, std::size_t e) {
  const PlanePoint start = run.polygon[piece[e]];
  const PlanePoint end = run.polygon[piece[e + 1]];
  const double margin = ScreenMargin(start, end);
  const double startSide = SignedValue(bisector, start), endSide = SignedValue(bisector, end);
  if ((startSide > margin && endSide > margin) || (startSide < -margin && endSide < -margin))
    return std::nullopt;
  const auto edge = MakeLine(start, end, kSplitLength);
  const auto x = edge ? CrossLines(bisector, *edge, kSplitAngle) : std::nullopt;
  if (!x || !LiesOnSegment(Classify(*x, start, end, kSplitLength, [&] { return edge; })))
    return std::nullopt;
  const std::size_t last = piece.size() - 1;
  if (Distance(*x, start) < Distance(*x, end)) return e == 1 ? e + 1 : e;
  return e + 1 == last ? e : e + 1;
}

// LocatePoint's answer without its winding sum: a point off the boundary of a polygon that does
// not cross itself is wound round a whole turn or not at all (the edges the sum leaves out
// subtend less than a tenth of the quarter turn it allows), which the count of edges a ray from
// it crosses tells as well.
bool InsideAndOffTheBoundary(std::span<const PlanePoint> polygon, PlanePoint m) {
  const std::size_t n = polygon.size();
  bool inside = false;
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint a = polygon[i];
    const PlanePoint b = polygon[(i + 1) % n];
    if (NearBox(m, a, b) && LiesOnSegment(ClassifyOnSegment(m, a, b, kSplitLength))) return false;
    if ((a.y > m.y) != (b.y > m.y) && m.x < a.x + (m.y - a.y) * (b.x - a.x) / (b.y - a.y))
      inside = !inside;
  }
  return inside;
}

// A diagonal lies inside the polygon and touches its boundary only at its ends.
bool DiagonalAccepted(const SplitRun& run, PlanePoint from, PlanePoint to) {
  const PlanePoint middle{(from.x + to.x) / 2.0, (from.y + to.y) / 2.0};
  // One point more than a diagonal's two already refuses it.
  return CountMeetings(
             run.polygon, run.edgeBoxes,
             [&](std::size_t i) -> const std::optional<PlaneLine>& { return run.edgeLines[i]; }, to,
             from, kDiagonalBoundaryPoints + 1, run.margin, run.met) == kDiagonalBoundaryPoints &&
         InsideAndOffTheBoundary(run.polygon, middle);
}

// First accepted diagonal end, tried from the candidate onwards, then from it backwards.
std::optional<std::size_t> AcceptedVertex(const SplitRun& run, const Piece& piece,
                                          std::size_t candidate) {
  const PlanePoint d0 = run.polygon[piece.front()];
  const auto accepted = [&](std::size_t c) {
    return DiagonalAccepted(run, d0, run.polygon[piece[c]]);
  };
  for (std::size_t c = candidate; c + 1 < piece.size(); ++c) {
    if (accepted(c)) return c;
  }
  for (std::size_t c = candidate - 1; c >= 2; --c) {
    if (accepted(c)) return c;
  }
  return std::nullopt;
}

// Cuts the piece in the slot along d0-dc: the slot keeps d0..dc, a new slot takes d0, dc..end.
void CutAt(SplitRun& run, std::size_t slot, std::size_t c) {
  Piece& piece = run.pieces[slot];
  Piece rest{piece.front()};
  rest.insert(rest.end(), piece.begin() + static_cast<std::ptrdiff_t>(c), piece.end());
  piece.resize(c + 1);
  run.pieces.push_back(std::move(rest));
}

// Cuts one piece of more than three vertices in two, from its widest corner.
int CutPiece(SplitRun& run, std::size_t slot) {
  Piece& piece = run.pieces[slot];
  const auto widest = RotateToWidestCorner(run, piece);
  if (!widest) return kSplitAngleUnmeasurable;
  const auto bisector = Bisector(run, piece, *widest);
  if (!bisector) return kSplitNoBisector;
  for (std::size_t e = 1; e + 1 < piece.size(); ++e) {
    const auto candidate = CandidateOnEdge(run, piece, *bisector, e);
    const auto c = candidate ? AcceptedVertex(run, piece, *candidate) : std::nullopt;
    if (c) {
      CutAt(run, slot, *c);
      return kSplitDone;
    }
  }
  return kSplitDegenerate;
}

// The pieces in slot order as triangles, once every piece is one.
SplitResult CollectTriangles(const std::vector<Piece>& pieces) {
  SplitResult result{kSplitDone, {}};
  result.triangles.reserve(pieces.size());
  for (const Piece& piece : pieces) {
    if (piece.size() != 3) return {kSplitPieceLeft, {}};
    result.triangles.push_back({piece[0], piece[1], piece[2]});
  }
  return result;
}

SplitResult Split(std::span<const PlanePoint> polygon) {
  const int check = CheckPolygon(polygon);
  if (check == kPolygonSelfCrossing) return {kSplitSelfCrossing, {}};
  if (check != kPolygonClockwise) return {kSplitDegenerate, {}};
  const std::size_t n = polygon.size();
  SplitRun run{polygon,
               {},
               std::vector<double>(n),
               PolygonMargin(polygon),
               EdgeBoxes(polygon),
               std::vector<KnownCorner>(n),
               EdgeLines(polygon),
               {}};
  run.pieces.reserve(n - 2);
  run.pieces.emplace_back(n);
  std::iota(run.pieces.front().begin(), run.pieces.front().end(), std::size_t{0});
  for (std::size_t slot = 0; slot < run.pieces.size();) {
    if (run.pieces[slot].size() == 3) {
      ++slot;
    } else if (const int code = CutPiece(run, slot); code != kSplitDone) {
      return {code, {}};
    }
  }
  return CollectTriangles(run.pieces);
}

}  // namespace

SplitResult Triangulate(std::span<const PlanePoint> polygon) {
  try {
    return Split(polygon);
  } catch (const std::bad_alloc&) {
    return {kSplitOutOfMemory, {}};
  }
}

// ---- Ordering a finished triangle ----

namespace {

// Angle between the two sides at corner, 0 to pi; 0 when a side has no length.
double CornerAngle(PlanePoint prev, PlanePoint corner, PlanePoint next) {
  return std::atan2(
      std::abs(Cross(corner, prev, next)),
      (prev.x - corner.x) * (next.x - corner.x) + (prev.y - corner.y) * (next.y - corner.y));
}

}  // namespace

std::array<PlanePoint, 3> OrderTriangle(const std::array<PlanePoint, 3>& corners) {
  std::array<PlanePoint, 3> p = corners;
  if (CheckPolygon(p) == kPolygonClockwise) std::reverse(p.begin(), p.end());
  const double a0 = CornerAngle(p[2], p[0], p[1]);
  const double a1 = CornerAngle(p[0], p[1], p[2]);
  const double a2 = CornerAngle(p[1], p[2], p[0]);
  if (a0 >= a1 && a0 >= a2) return p;
  if (a1 >= a2) return {p[1], p[2], p[0]};
  return {p[2], p[0], p[1]};
}

}  // namespace triangulation
