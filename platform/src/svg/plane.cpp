// Plane geometry for pictures.
#include "svg/plane.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessera::svg {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Relative difference below which two lengths count as equal when deciding whether a map keeps
// circles round; far below what a picture can show.
constexpr double kConformalTolerance = 1e-9;
// The host's arbitrary-axis rule: a normal this close to the world's Z axis takes its X axis
// from the world's Y axis, any other from the world's Z axis.
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

}  // namespace

double Length(Point2 v) {
  return std::hypot(v.x, v.y);
}

Affine2 Affine2::after(const Affine2& inner) const {
  Affine2 r;
  r.a = a * inner.a + c * inner.b;
  r.b = b * inner.a + d * inner.b;
  r.c = a * inner.c + c * inner.d;
  r.d = b * inner.c + d * inner.d;
  r.e = a * inner.e + c * inner.f + e;
  r.f = b * inner.e + d * inner.f + f;
  return r;
}

bool Affine2::isConformal() const {
  const double lx = std::hypot(a, b);
  const double ly = std::hypot(c, d);
  const double tolerance = kConformalTolerance * std::max({lx, ly, 1.0});
  return std::abs(lx - ly) <= tolerance && std::abs(a * c + b * d) <= tolerance * std::max(lx, ly);
}

double Affine2::scale() const {
  return std::sqrt(std::abs(determinant()));
}

Affine2 Affine2::translation(double dx, double dy) {
  return {1, 0, 0, 1, dx, dy};
}

Affine2 Affine2::rotation(double radians) {
  const double cs = std::cos(radians);
  const double sn = std::sin(radians);
  return {cs, sn, -sn, cs, 0, 0};
}

Affine2 Affine2::scaling(double sx, double sy) {
  return {sx, 0, 0, sy, 0, 0};
}

Affine2 Affine2::objectSystem(const AcGeVector3d& normal) {
  AcGeVector3d n = normal;
  if (n.isZeroLength()) return {};
  n.normalize();
  const bool nearZ = std::abs(n.x) < kArbitraryAxisLimit && std::abs(n.y) < kArbitraryAxisLimit;
  const AcGeVector3d base = nearZ ? AcGeVector3d::kYAxis : AcGeVector3d::kZAxis;
  const AcGeVector3d xAxis = base.crossProduct(n).normal();
  const AcGeVector3d yAxis = n.crossProduct(xAxis).normal();
  return {xAxis.x, xAxis.y, yAxis.x, yAxis.y, 0, 0};
}

void Box::add(Point2 p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (m_empty) {
    m_min = m_max = p;
    m_empty = false;
    return;
  }
  m_min = {std::min(m_min.x, p.x), std::min(m_min.y, p.y)};
  m_max = {std::max(m_max.x, p.x), std::max(m_max.y, p.y)};
}

void Box::add(const Box& other) {
  if (other.empty()) return;
  add(other.min());
  add(other.max());
}

Point2 Arc::pointAt(double angle) const {
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

double CounterClockwiseSweep(double startAngle, double endAngle) {
  double sweep = std::fmod(endAngle - startAngle, kTwoPi);
  if (sweep <= 0.0) sweep += kTwoPi;
  return sweep;
}

Arc BulgeArc(Point2 p0, Point2 p1, double bulge) {
  const Point2 chord = p1 - p0;
  const double chordLength = Length(chord);
  const double included = 4.0 * std::atan(bulge);
  // The centre lies on the chord's perpendicular, left of the chord for a positive bulge.
  const double offset = chordLength / 2.0 / std::tan(included / 2.0);
  const Point2 left =
      chordLength > 0 ? Point2{-chord.y / chordLength, chord.x / chordLength} : Point2{};
  Arc arc;
  arc.center = (p0 + p1) * 0.5 + left * offset;
  arc.radius = Length(p0 - arc.center);
  const Point2 from = bulge > 0 ? p0 : p1;
  arc.start = std::atan2(from.y - arc.center.y, from.x - arc.center.x);
  arc.sweep = std::abs(included);
  return arc;
}

std::vector<Point2> SampleArc(const Arc& arc, double maxStep) {
  const int steps = std::clamp(static_cast<int>(std::ceil(arc.sweep / maxStep)), 1, 1 << 16);
  std::vector<Point2> points;
  points.reserve(static_cast<std::size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) points.push_back(arc.pointAt(arc.start + arc.sweep * i / steps));
  return points;
}

}  // namespace tessera::svg
