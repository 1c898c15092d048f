// Plane geometry for pictures: points, the affine maps that place block contents and object
// coordinate systems in the world's XY plane, bounding boxes, and arcs given by bulges.
#pragma once

#include <vector>

#include "cad/ge.h"

namespace tessera::svg {

struct Point2 {
  double x = 0.0;
  double y = 0.0;
};

inline Point2 operator+(Point2 a, Point2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Point2 operator-(Point2 a, Point2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Point2 operator*(Point2 a, double s) {
  return {a.x * s, a.y * s};
}
double Length(Point2 v);

// An affine map of the plane: (x, y) -> (a x + c y + e, b x + d y + f).
struct Affine2 {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;

  Point2 apply(Point2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  Point2 applyVector(Point2 v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
  // This map after `inner`: p -> this(inner(p)).
  Affine2 after(const Affine2& inner) const;
  double determinant() const { return a * d - b * c; }
  // Whether circles stay circles: a rotation and a uniform scale, perhaps mirrored.
  bool isConformal() const;
  // The length factor of a conformal map.
  double scale() const;

  static Affine2 translation(double dx, double dy);
  static Affine2 rotation(double radians);
  static Affine2 scaling(double sx, double sy);
  // The object coordinate system of a normal, seen from above: its X and Y axes projected on
  // the world's XY plane (the host's arbitrary-axis rule). The identity for +Z.
  static Affine2 objectSystem(const AcGeVector3d& normal);
};

// A box that grows to hold what is added; empty until the first point.
class Box {
 public:
  void add(Point2 p);
  void add(const Box& other);
  bool empty() const { return m_empty; }
  Point2 min() const { return m_min; }
  Point2 max() const { return m_max; }

 private:
  bool m_empty = true;
  Point2 m_min, m_max;
};

// A circular arc running counter-clockwise from `start` to `start + sweep` (radians, sweep > 0).
struct Arc {
  Point2 center;
  double radius = 0.0;
  double start = 0.0;
  double sweep = 0.0;

  Point2 pointAt(double angle) const;
};

// The counter-clockwise sweep from one angle to another, in (0, 2π]: equal angles make a full turn.
double CounterClockwiseSweep(double startAngle, double endAngle);

// The arc of a polyline segment from p0 to p1 with a bulge (the tangent of a quarter of the
// included angle; positive turns counter-clockwise). Its sweep runs from p0 for a positive bulge
// and from p1 for a negative one. The bulge must not be 0.
Arc BulgeArc(Point2 p0, Point2 p1, double bulge);

// Points along an arc, ends included, no two more than `maxStep` radians apart.
std::vector<Point2> SampleArc(const Arc& arc, double maxStep);

}  // namespace tessera::svg
