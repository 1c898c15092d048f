// The measures of the six figure kinds.
#include "figures/measures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "common/value_format.h"

namespace area {
namespace {

// Half of base × height for triangles and of the sum of the bases × height for trapezoids.
constexpr double kHalf = 0.5;

// The sector's mark sits at half the radius from the centre, the lune's at two thirds.
constexpr double kSectorMarkFactor = 0.5;
constexpr double kLuneMarkNumerator = 2.0;
constexpr double kLuneMarkDenominator = 3.0;

// Degrees of a full turn, for the sector's share of the circle.
constexpr double kDegreesPerTurn = 360.0;

// Whether two directions agree within kAngleTolerance, also across direction 0.
bool SameDirection(double a, double b) {
  const double difference = std::fabs(a - b);
  return difference <= kAngleTolerance || std::fabs(difference - kFullTurn) <= kAngleTolerance;
}

// Whether every value fits in a number; a measure that does not has failed.
bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

double SectorShare(double radius, double angle) {
  return radius * radius * kAreaPi * angle / kDegreesPerTurn;
}

}  // namespace

double TriangleProduct(const ValueRules& rules, double base, double height) {
  return Rounded(rules, height * base);
}

double TriangleArea(const ValueRules& rules, double base, double height) {
  return Rounded(rules, base * height * kHalf);
}

double RectangleArea(const ValueRules& rules, double base, double height) {
  return Rounded(rules, height * base);
}

double TrapezoidArea(const ValueRules& rules, double lower, double upper, double height) {
  return Rounded(rules, (lower + upper) * height * kHalf);
}

double CircleArea(const ValueRules& rules, double radius) {
  return Rounded(rules, radius * radius * kAreaPi);
}

double SectorArea(const ValueRules& rules, double radius, double angle) {
  return Rounded(rules, SectorShare(radius, angle));
}

double LuneArea(const ValueRules& rules, double radius, double angle, double chord, double height) {
  return Rounded(rules, SectorShare(radius, angle) - chord * height * kHalf);
}

ValueRules RulesOf(const FigureSettings& settings) {
  return {settings.unitKind, settings.digits, settings.rounding};
}

double RoundedLength(const ValueRules& rules, double millimetres) {
  return Rounded(rules, LengthInUnit(rules.unitKind, millimetres));
}

double Rounded(const ValueRules& rules, double value) {
  RoundValue(rules.digits, rules.rounding, value);
  return value;
}

std::optional<TriangleMeasure> MeasureTriangle(const ValueRules& rules, const AcGePoint3d& p1,
                                               const AcGePoint3d& p2, const AcGePoint3d& p3) {
  const std::optional<PlaneLine> baseLine = LineThrough(p2, p3, kMinimumBaseLength);
  if (!baseLine) return std::nullopt;
  const std::optional<Foot> foot = PerpendicularFoot(p1, *baseLine);
  if (!foot) return std::nullopt;
  TriangleMeasure measure;
  measure.foot = foot->point;
  measure.height = RoundedLength(rules, foot->distance);
  measure.base = RoundedLength(rules, DistanceXY(p2, p3));
  measure.product = TriangleProduct(rules, measure.base, measure.height);
  if (!AllFinite({measure.height, measure.base, measure.product})) return std::nullopt;
  return measure;
}

std::string TriangleAreaText(const ValueRules& rules, const std::string& baseText,
                             const std::string& heightText) {
  return FormatValue(rules.digits,
                     TriangleArea(rules, ReadDecimal(baseText), ReadDecimal(heightText)));
}

bool IsRightAngle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) {
  const double a1 = SegmentAngle(p2, p1);
  const double a2 = SegmentAngle(p2, p3);
  const double between = std::max(a1, a2) - std::min(a1, a2);
  return std::fabs(between - kQuarterTurn) <= kAngleTolerance ||
         std::fabs(between - kThreeQuarterTurns) <= kAngleTolerance;
}

AcGePoint3d FourthCorner(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) {
  return PolarPoint(p1, SegmentAngle(p2, p3), p2.distanceTo(p3));
}

RectangleMeasure MeasureRectangle(const ValueRules& rules, const AcGePoint3d& p1,
                                  const AcGePoint3d& p2, const AcGePoint3d& p3) {
  RectangleMeasure measure;
  measure.height = RoundedLength(rules, p1.distanceTo(p2));
  measure.base = RoundedLength(rules, p2.distanceTo(p3));
  measure.area = RectangleArea(rules, measure.base, measure.height);
  return measure;
}

bool BasesParallel(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
                   const AcGePoint3d& p4) {
  return SameDirection(SegmentAngle(p1, p2), SegmentAngle(p4, p3));
}

TrapezoidCorners CheckTrapezoidCorners(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                       const AcGePoint3d& p3, const AcGePoint3d& p4) {
  if (BasesParallel(p1, p2, p3, p4)) return TrapezoidCorners::kParallel;
  if (BasesParallel(p1, p2, p4, p3)) return TrapezoidCorners::kOutOfOrder;
  return TrapezoidCorners::kNotParallel;
}

std::optional<TrapezoidMeasure> MeasureTrapezoid(const ValueRules& rules, const AcGePoint3d& p1,
                                                 const AcGePoint3d& p2, const AcGePoint3d& p3,
                                                 const AcGePoint3d& p4) {
  const std::optional<PlaneLine> upperLine = LineThrough(p1, p2, kMinimumBaseLength);
  if (!upperLine) return std::nullopt;
  const std::optional<Foot> foot = PerpendicularFoot(p4, *upperLine);
  if (!foot) return std::nullopt;
  TrapezoidMeasure measure;
  measure.foot = foot->point;
  measure.lower = RoundedLength(rules, p4.distanceTo(p3));
  measure.upper = RoundedLength(rules, DistanceXY(p1, p2));
  measure.height = RoundedLength(rules, foot->distance);
  measure.area = TrapezoidArea(rules, measure.lower, measure.upper, measure.height);
  if (!AllFinite({measure.lower, measure.upper, measure.height, measure.area})) return std::nullopt;
  return measure;
}

AcGePoint3d TrapezoidMarkPoint(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
                               const AcGePoint3d& p4) {
  const AcGePoint3d lowerMiddle = Midpoint(p4, p3);
  const AcGePoint3d across =
      PolarPoint(lowerMiddle, SegmentAngle(p4, p3) + kQuarterTurn, kBisectorHelperLength);
  const std::optional<AcGePoint3d> upperCrossing =
      LineIntersection(lowerMiddle, across, p1, p2, false);
  if (!upperCrossing) return lowerMiddle;
  return Midpoint(lowerMiddle, *upperCrossing);
}

CircleMeasure MeasureCircle(const ValueRules& rules, double drawnRadius) {
  CircleMeasure measure;
  measure.radius = RoundedLength(rules, drawnRadius);
  measure.area = CircleArea(rules, measure.radius);
  return measure;
}

std::optional<ArcFigure> ArcThroughPoints(AcGePoint3dArray& points) {
  const std::optional<AcGePoint3d> centre = CircleCentre3(points[0], points[1], points[2]);
  if (!centre) return std::nullopt;
  ArcFigure figure;
  figure.arc = ArcFrom3(*centre, points);
  figure.sweep = ArcSweep(figure.arc.startAngle, figure.arc.endAngle);
  figure.angle = SweepDegrees(figure.sweep);
  return figure;
}

SectorMeasure MeasureSector(const ValueRules& rules, double drawnRadius, double angle) {
  SectorMeasure measure;
  measure.radius = RoundedLength(rules, drawnRadius);
  measure.angle = Rounded(rules, angle);
  measure.area = SectorArea(rules, measure.radius, measure.angle);
  return measure;
}

AcGePoint3d SectorMarkPoint(const ArcGeometry& arc, const AcGePoint3d& p1, const AcGePoint3d& p3) {
  const AcGePoint3d chordMiddle = Midpoint(p1, p3);
  const double direction = PointOnArcSweep(arc.centre, p1, chordMiddle, p3)
                               ? SegmentAngle(arc.centre, chordMiddle)
                               : SegmentAngle(chordMiddle, arc.centre);
  return PolarPoint(arc.centre, direction, arc.radius * kSectorMarkFactor);
}

bool LuneSweepAllowed(double sweep) {
  return kHalfTurn - sweep > kAngleTolerance;
}

LuneMeasure MeasureLune(const ValueRules& rules, const ArcGeometry& arc, double angle,
                        const AcGePoint3d& p1, const AcGePoint3d& p3) {
  LuneMeasure measure;
  measure.chordMidpoint = Midpoint(p1, p3);
  measure.radius = RoundedLength(rules, arc.radius);
  measure.angle = Rounded(rules, angle);
  measure.chord = RoundedLength(rules, p1.distanceTo(p3));
  measure.height = RoundedLength(rules, arc.centre.distanceTo(measure.chordMidpoint));
  measure.area = LuneArea(rules, measure.radius, measure.angle, measure.chord, measure.height);
  return measure;
}

AcGePoint3d LuneMarkPoint(const ArcGeometry& arc, const AcGePoint3d& chordMidpoint) {
  return PolarPoint(arc.centre, SegmentAngle(arc.centre, chordMidpoint),
                    arc.radius * kLuneMarkNumerator / kLuneMarkDenominator);
}

}  // namespace area
