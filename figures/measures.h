// The measures of the six figure kinds: from the defining points to the rounded values a figure
// shows, and the construction points (feet, fourth corner, arc, mark points) its drawing needs.
//
// Lengths are measured in drawing units (millimetres) and shown in the figure's unit; each value
// is rounded with the figure's digits and rounding, and the area is computed from the rounded
// values and rounded once more, so a figure's texts and its area always agree. The figure
// commands use these when drawing; the linkage uses them again when a figure is edited.
#pragma once

#include <optional>
#include <string>

#include "cad/arx.h"
#include "common/geometry.h"
#include "common/settings.h"

namespace area {

// A base line shorter than this in the XY plane (drawing units) cannot carry a perpendicular.
inline constexpr double kMinimumBaseLength = 0.001;

// Angles of a picked right angle or parallel sides may be off by this much (radians).
inline constexpr double kAngleTolerance = 0.01;

// The unit, digits and rounding under which a figure's values are written.
struct ValueRules {
  int unitKind = 0;
  int digits = 0;
  int rounding = 0;
};

ValueRules RulesOf(const FigureSettings& settings);

// A drawn length in the figure's unit, rounded.
double RoundedLength(const ValueRules& rules, double millimetres);
// A value (angle, area) rounded without unit conversion.
double Rounded(const ValueRules& rules, double value);

// Each shape's area formula on the rounded values its texts show, rounded: the figure commands
// and the linkage both compute areas only through these. π is kAreaPi; angles are degrees.
double TriangleProduct(const ValueRules& rules, double base, double height);
double TriangleArea(const ValueRules& rules, double base, double height);
double RectangleArea(const ValueRules& rules, double base, double height);
double TrapezoidArea(const ValueRules& rules, double lower, double upper, double height);
double CircleArea(const ValueRules& rules, double radius);
double SectorArea(const ValueRules& rules, double radius, double angle);
double LuneArea(const ValueRules& rules, double radius, double angle, double chord, double height);

// Triangle p1 (apex), p2, p3 (base): the foot of the height on the line p2p3, and the rounded
// height, base and their product. Nothing when the base is shorter than kMinimumBaseLength or a
// value does not fit in a number.
struct TriangleMeasure {
  AcGePoint3d foot;
  double height = 0.0;
  double base = 0.0;
  double product = 0.0;
};
std::optional<TriangleMeasure> MeasureTriangle(const ValueRules& rules, const AcGePoint3d& p1,
                                               const AcGePoint3d& p2, const AcGePoint3d& p3);

// The triangle's area text: base × height × 0.5 of the numbers its two texts show, rounded.
std::string TriangleAreaText(const ValueRules& rules, const std::string& baseText,
                             const std::string& heightText);

// Whether the corner p2 between p2→p1 and p2→p3 is a right angle within kAngleTolerance.
bool IsRightAngle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3);

// The fourth corner of the rectangle p1, p2, p3: from p1 along the direction and length of p2→p3.
AcGePoint3d FourthCorner(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3);

// Rectangle p1, p2, p3 with the right angle at p2: height |p1p2|, base |p2p3| (3D), their area.
struct RectangleMeasure {
  double height = 0.0;
  double base = 0.0;
  double area = 0.0;
};
RectangleMeasure MeasureRectangle(const ValueRules& rules, const AcGePoint3d& p1,
                                  const AcGePoint3d& p2, const AcGePoint3d& p3);

// How the four corners of a trapezoid relate: p1→p2 parallel to p4→p3; parallel sides but the
// corners not given in order around the figure; or sides that are not parallel.
enum class TrapezoidCorners { kParallel, kOutOfOrder, kNotParallel };
// Whether p1→p2 and p4→p3 point the same way within kAngleTolerance, also across direction 0.
bool BasesParallel(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
                   const AcGePoint3d& p4);
TrapezoidCorners CheckTrapezoidCorners(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                       const AcGePoint3d& p3, const AcGePoint3d& p4);

// Trapezoid p1, p2, p3, p4 with p1p2 the upper and p4p3 the lower base: the foot of the height
// from p4 on the line p1p2, and the rounded lower (3D), upper (XY), height (XY) and area.
// Nothing when the upper base is shorter than kMinimumBaseLength or a value does not fit in a
// number. (Every shape's value texts are checked again when its mark is inserted.)
struct TrapezoidMeasure {
  AcGePoint3d foot;
  double lower = 0.0;
  double upper = 0.0;
  double height = 0.0;
  double area = 0.0;
};
std::optional<TrapezoidMeasure> MeasureTrapezoid(const ValueRules& rules, const AcGePoint3d& p1,
                                                 const AcGePoint3d& p2, const AcGePoint3d& p3,
                                                 const AcGePoint3d& p4);

// The trapezoid's mark point: half way from the lower base's midpoint to the line p1p2 along the
// perpendicular through that midpoint (the midpoint itself when the lines do not meet).
AcGePoint3d TrapezoidMarkPoint(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
                               const AcGePoint3d& p4);

// Circle of the drawn radius: the rounded radius in the figure's unit and the area.
struct CircleMeasure {
  double radius = 0.0;
  double area = 0.0;
};
CircleMeasure MeasureCircle(const ValueRules& rules, double drawnRadius);

// The arc through three picked points, counter-clockwise; the points are reordered as ArcFrom3
// does. sweep in radians, angle in degrees.
struct ArcFigure {
  ArcGeometry arc;
  double sweep = 0.0;
  double angle = 0.0;
};
// Nothing when the three points lie on one line.
std::optional<ArcFigure> ArcThroughPoints(AcGePoint3dArray& points);

// Sector of the drawn radius and the angle (degrees): rounded radius, angle and area.
struct SectorMeasure {
  double radius = 0.0;
  double angle = 0.0;
  double area = 0.0;
};
SectorMeasure MeasureSector(const ValueRules& rules, double drawnRadius, double angle);

// The sector's mark point: on the bisector at half the radius from the centre, on the side of
// the sweep (beyond the centre when the sweep is larger than half a turn).
AcGePoint3d SectorMarkPoint(const ArcGeometry& arc, const AcGePoint3d& p1, const AcGePoint3d& p3);

// Whether a lune of this sweep (radians) can be computed: it must stay more than
// kAngleTolerance below half a turn.
bool LuneSweepAllowed(double sweep);

// Lune (circular segment) of the arc from p1 to p3: the chord's midpoint, and the rounded radius,
// angle, chord, height (centre to chord) and area (sector minus the triangle on the chord).
struct LuneMeasure {
  AcGePoint3d chordMidpoint;
  double radius = 0.0;
  double angle = 0.0;
  double chord = 0.0;
  double height = 0.0;
  double area = 0.0;
};
LuneMeasure MeasureLune(const ValueRules& rules, const ArcGeometry& arc, double angle,
                        const AcGePoint3d& p1, const AcGePoint3d& p3);

// The lune's mark point: towards the chord's midpoint at two thirds of the radius.
AcGePoint3d LuneMarkPoint(const ArcGeometry& arc, const AcGePoint3d& chordMidpoint);

}  // namespace area
