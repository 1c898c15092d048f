// Exact values of figures, recomputed from their key entities.
#include "figures/exact_values.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "common/geometry.h"
#include "common/value_format.h"
#include "figures/measures.h"

namespace area {
namespace {

// Full π here, unlike the 3.14 of the figures' own areas.
constexpr double kExactPi = std::numbers::pi;
constexpr double kDegreesPerTurn = 360.0;
constexpr double kHalf = 0.5;

// Vertices each polyline shape reads: p1 to p3, and p4 for the trapezoid.
constexpr int kTriangleVertices = 3;
constexpr int kRectangleVertices = 3;
constexpr int kTrapezoidVertices = 4;

// Lengths stay in drawing units (a millimetre unit kind converts nothing), rounded half up to
// eight decimals.
constexpr ValueRules kExactRules{
    .unitKind = kMetreUnitKindLimit, .digits = kExactDigits, .rounding = kRoundHalfUp};

using Values = std::vector<double>;

std::string Compose(const Values& values) {
  std::string text = "(";
  for (std::size_t i = 0; i < values.size(); ++i)
    text += (i == 0 ? "" : " ") + FormatValue(kExactDigits, values[i]);
  return text + ")";
}

// The outline's first vertices; nothing when it is no 2D polyline with distinct vertices, or
// has fewer than `count`.
std::optional<AcGePoint3dArray> Corners(AcDbObjectId outline, int count) {
  AcGePoint3dArray points;
  if (!PolylineVertices2d(outline, points) || points.length() < count) return std::nullopt;
  return points;
}

std::optional<Values> TriangleValues(AcDbObjectId outline) {
  const auto p = Corners(outline, kTriangleVertices);
  if (!p) return std::nullopt;
  const auto measure = MeasureTriangle(kExactRules, (*p)[0], (*p)[1], (*p)[2]);
  if (!measure) return std::nullopt;
  // The area is half the product of the rounded values, itself not rounded.
  return Values{measure->base, measure->height, measure->product,
                measure->height * measure->base * kHalf};
}

std::optional<Values> RectangleValues(AcDbObjectId outline) {
  const auto p = Corners(outline, kRectangleVertices);
  if (!p) return std::nullopt;
  const RectangleMeasure measure = MeasureRectangle(kExactRules, (*p)[0], (*p)[1], (*p)[2]);
  return Values{measure.base, measure.height, measure.area};
}

std::optional<Values> TrapezoidValues(AcDbObjectId outline) {
  const auto p = Corners(outline, kTrapezoidVertices);
  if (!p) return std::nullopt;
  const auto measure = MeasureTrapezoid(kExactRules, (*p)[0], (*p)[1], (*p)[2], (*p)[3]);
  if (!measure) return std::nullopt;
  return Values{measure->lower, measure->upper, measure->height, measure->area};
}

std::optional<Values> CircleValues(AcDbObjectId circleId) {
  AcDbCircle* circle = nullptr;
  if (acdbOpenObject(circle, circleId, AcDb::kForRead) != Acad::eOk) return std::nullopt;
  const double r = circle->radius();
  circle->close();
  return Values{r, r * r * kExactPi};
}

double SectorShare(double radius, double angle) {
  return radius * radius * kExactPi * angle / kDegreesPerTurn;
}

std::optional<Values> SectorValues(AcDbObjectId arcId) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  const double angle = SweepDegrees(ArcSweep(arc->startAngle, arc->endAngle));
  return Values{arc->radius, angle, SectorShare(arc->radius, angle)};
}

std::optional<Values> LuneValues(AcDbObjectId arcId) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  const double r = arc->radius;
  const double sweep = ArcSweep(arc->startAngle, arc->endAngle);
  const double chord = 2.0 * r * std::sin(sweep * kHalf);
  const double height = r * std::cos(sweep * kHalf);
  const double angle = SweepDegrees(sweep);
  return Values{r, angle, chord, height, SectorShare(r, angle) - chord * height * kHalf};
}

std::optional<Values> ValuesOf(int shapeCode, AcDbObjectId keyEntity) {
  switch (shapeCode) {
    case kShapeTriangle:
      return TriangleValues(keyEntity);
    case kShapeRectangle:
      return RectangleValues(keyEntity);
    case kShapeTrapezoid:
      return TrapezoidValues(keyEntity);
    case kShapeCircle:
      return CircleValues(keyEntity);
    case kShapeSector:
      return SectorValues(keyEntity);
    case kShapeLune:
      return LuneValues(keyEntity);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> ExactValueText(const FigureKindInfo& kind, AcDbObjectId keyEntity) {
  const std::optional<Values> values = ValuesOf(kind.shapeCode, keyEntity);
  if (!values) return std::nullopt;
  return Compose(*values);
}

}  // namespace area
