// The polygon split as it was before edges were screened out, kept as the reference the split
// must match triangle for triangle: both split many random lots, and their results must be equal.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <numeric>
#include <optional>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include "triangulation/polygon_split.h"

namespace reference_split {

// The plane primitives the split did not change are shared; the polygon check, the boundary count
// and the split are the old ones.
using triangulation::ClassifyOnSegment;
using triangulation::CrossLines;
using triangulation::InteriorAngle;
using triangulation::LiesOnSegment;
using triangulation::LocatePoint;
using triangulation::MakeLine;
using triangulation::PlaneLine;
using triangulation::PlanePoint;
using triangulation::PointLocation;
using triangulation::SegmentPosition;
using triangulation::SignedValue;
using triangulation::SplitResult;
using namespace triangulation;  // the verdicts and outcome codes

namespace {

double Distance(PlanePoint p, PlanePoint q) {
  return std::hypot(q.x - p.x, q.y - p.y);
}

}  // namespace

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
      if (EdgesMeet(polygon[k], polygon[k + 1], polygon[j], polygon[(j + 1) % n])) return true;
    }
  }
  return false;
}

}  // namespace

int ReferenceCheckPolygon(std::span<const PlanePoint> polygon) {
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

// A diagonal that meets the boundary anywhere but at its two ends is no diagonal.
constexpr int kDiagonalBoundaryPoints = 2;

}  // namespace

int ReferenceBoundaryCount(std::span<const PlanePoint> polygon, PlanePoint q, PlanePoint v0) {
  const auto cut = MakeLine(q, v0, kSplitLength);
  if (!cut) return 0;
  std::vector<PlanePoint> met;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint a = polygon[i];
    const PlanePoint b = polygon[(i + 1) % n];
    const auto edge = MakeLine(a, b, kSplitLength);
    const auto x = edge ? CrossLines(*cut, *edge, kSplitAngle) : std::nullopt;
    if (!x || !LiesOnSegment(ClassifyOnSegment(*x, a, b, kSplitLength)) ||
        !LiesOnSegment(ClassifyOnSegment(*x, q, v0, kSplitLength))) {
      continue;
    }
    const bool known = std::any_of(met.begin(), met.end(),
                                   [&](PlanePoint p) { return Distance(p, *x) < kSplitLength; });
    if (!known) met.push_back(*x);
  }
  return static_cast<int>(met.size());
}

// ---- The split ----

namespace {

// Vertex indices into the input polygon, clockwise; a piece of three is a finished triangle.
using Piece = std::vector<std::size_t>;

// Working store of one split, released on every way out.
struct SplitRun {
  std::span<const PlanePoint> polygon;  // every diagonal is tested against the whole input
  std::vector<Piece> pieces;            // the piece table; new pieces take the next slot
  std::vector<double> angles;           // interior angles of the piece being cut
};

// Turns the piece so that its widest corner (the first of equal ones) comes first; its angle.
std::optional<double> RotateToWidestCorner(SplitRun& run, Piece& piece) {
  const std::size_t k = piece.size();
  for (std::size_t j = 0; j < k; ++j) {
    const auto angle = InteriorAngle(run.polygon[piece[(j + k - 1) % k]], run.polygon[piece[j]],
                                     run.polygon[piece[(j + 1) % k]]);
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
  const auto edge = MakeLine(start, end, kSplitLength);
  const auto x = edge ? CrossLines(bisector, *edge, kSplitAngle) : std::nullopt;
  if (!x || !LiesOnSegment(ClassifyOnSegment(*x, start, end, kSplitLength))) return std::nullopt;
  const std::size_t last = piece.size() - 1;
  if (Distance(*x, start) < Distance(*x, end)) return e == 1 ? e + 1 : e;
  return e + 1 == last ? e : e + 1;
}

// A diagonal lies inside the polygon and touches its boundary only at its ends.
bool DiagonalAccepted(std::span<const PlanePoint> polygon, PlanePoint from, PlanePoint to) {
  const PlanePoint middle{(from.x + to.x) / 2.0, (from.y + to.y) / 2.0};
  return ReferenceBoundaryCount(polygon, to, from) == kDiagonalBoundaryPoints &&
         LocatePoint(polygon, middle) == PointLocation::kInside;
}

// First accepted diagonal end, tried from the candidate onwards, then from it backwards.
std::optional<std::size_t> AcceptedVertex(const SplitRun& run, const Piece& piece,
                                          std::size_t candidate) {
  const PlanePoint d0 = run.polygon[piece.front()];
  const auto accepted = [&](std::size_t c) {
    return DiagonalAccepted(run.polygon, d0, run.polygon[piece[c]]);
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
  const int check = ReferenceCheckPolygon(polygon);
  if (check == kPolygonSelfCrossing) return {kSplitSelfCrossing, {}};
  if (check != kPolygonClockwise) return {kSplitDegenerate, {}};
  const std::size_t n = polygon.size();
  SplitRun run{polygon, {}, std::vector<double>(n)};
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

SplitResult ReferenceTriangulate(std::span<const PlanePoint> polygon) {
  try {
    return Split(polygon);
  } catch (const std::bad_alloc&) {
    return {kSplitOutOfMemory, {}};
  }
}

}  // namespace reference_split

namespace {

using Lot = std::vector<triangulation::PlanePoint>;

// Star-shaped around the origin, clockwise; radii drawn from `radii` (a few values give straight
// points and collinear sides), corners snapped to `grid` when it is above zero.
Lot StarLot(std::mt19937& random, std::size_t n, const std::vector<double>& radii, double grid) {
  std::uniform_real_distribution<double> turn(0.0, 2.0 * std::numbers::pi);
  std::vector<double> angles(n);
  for (double& angle : angles) angle = turn(random);
  std::sort(angles.rbegin(), angles.rend());
  Lot lot;
  for (double angle : angles) {
    const double r = radii[random() % radii.size()];
    double x = r * std::cos(angle), y = r * std::sin(angle);
    if (grid > 0.0) x = std::round(x / grid) * grid, y = std::round(y / grid) * grid;
    lot.push_back({x, y});
  }
  return lot;
}

// A comb of `teeth` teeth of random widths and depths, clockwise.
Lot CombLot(std::mt19937& random, std::size_t teeth) {
  std::uniform_real_distribution<double> size(200.0, 3000.0);
  const double top = 5000.0;
  Lot lot{{0, 0}, {0, top}};
  double x = 0.0;
  for (std::size_t i = 0; i < teeth; ++i) {
    const double gap = size(random), width = size(random), depth = std::min(size(random), top - 10);
    lot.insert(lot.end(), {{x + gap, top},
                           {x + gap, top - depth},
                           {x + gap + width, top - depth},
                           {x + gap + width, top}});
    x += gap + width;
  }
  lot.insert(lot.end(), {{x + size(random), top}, {x + size(random), 0}});
  return lot;
}

Lot Shifted(Lot lot, double dx, double dy, double scale) {
  for (auto& p : lot) p = {p.x * scale + dx, p.y * scale + dy};
  return lot;
}

std::vector<Lot> RandomLots() {
  std::mt19937 random(20261208);
  std::vector<Lot> lots;
  std::uniform_real_distribution<double> offset(-1e6, 1e6);
  for (int i = 0; i < 400; ++i) {
    const std::size_t n = 3 + random() % (i < 300 ? 40 : 254);
    Lot lot;
    switch (i % 5) {
      case 0:
        lot = StarLot(random, n, {3000, 5000, 8000, 12000, 20000}, 0.0);
        break;
      case 1:
        lot = StarLot(random, n, {1, 2, 3}, 0.5);  // collinear sides and straight points
        break;
      case 2:
        lot = CombLot(random, 1 + random() % 60);
        break;
      case 3:
        lot = StarLot(random, n, {10000}, 0.0);  // convex
        break;
      default:
        lot = StarLot(random, n, {4000, 9000}, 100.0);
        if (random() % 3 == 0) std::swap(lot[0], lot[lot.size() / 2]);  // may cross itself
        break;
    }
    lots.push_back(Shifted(lot, offset(random), offset(random), i % 7 == 0 ? 0.001 : 1.0));
  }
  return lots;
}

TEST(SplitReference, TheSplitGivesTheSameTrianglesInTheSameOrderAsBefore) {
  int split = 0;
  for (const Lot& lot : RandomLots()) {
    const triangulation::SplitResult now = triangulation::Triangulate(lot);
    const triangulation::SplitResult before = reference_split::ReferenceTriangulate(lot);
    ASSERT_EQ(now.code, before.code) << lot.size() << " vertices";
    ASSERT_EQ(now.triangles, before.triangles) << lot.size() << " vertices";
    split += now.code == triangulation::kSplitDone;
  }
  EXPECT_GT(split, 250) << "most random lots split";
}

}  // namespace
