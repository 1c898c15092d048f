// The host's plane geometry helpers on ads points: angle, distance, polar point, intersection.
// Angles are radians counter-clockwise from +X, in [0, 2π); they are measured in the XY plane.
#include <cmath>
#include <numbers>

#include "cad/ads.h"

namespace {

// How far outside a segment's ends an intersection may lie and still count as on it, relative
// to the segment's length; it absorbs rounding in the parameter of an end point.
constexpr double kSegmentParameterTolerance = 1e-10;
// Cross products below this (relative to the lengths) count as parallel lines.
constexpr double kParallelTolerance = 1e-12;

}  // namespace

ads_real acutAngle(const ads_point from, const ads_point to) {
  double angle = std::atan2(to[Y] - from[Y], to[X] - from[X]);
  if (angle < 0.0) angle += 2.0 * std::numbers::pi;
  return angle >= 2.0 * std::numbers::pi ? 0.0 : angle;
}

ads_real acutDistance(const ads_point from, const ads_point to) {
  return std::sqrt((to[X] - from[X]) * (to[X] - from[X]) + (to[Y] - from[Y]) * (to[Y] - from[Y]) +
                   (to[Z] - from[Z]) * (to[Z] - from[Z]));
}

void acutPolar(const ads_point base, ads_real angle, ads_real distance, ads_point result) {
  double x = base[X] + distance * std::cos(angle);
  double y = base[Y] + distance * std::sin(angle);
  result[X] = x;
  result[Y] = y;
  result[Z] = base[Z];
}

int acdbInters(const ads_point p1, const ads_point p2, const ads_point p3, const ads_point p4,
               int onSegments, ads_point result) {
  double ax = p2[X] - p1[X], ay = p2[Y] - p1[Y];
  double bx = p4[X] - p3[X], by = p4[Y] - p3[Y];
  double cross = ax * by - ay * bx;
  double scale = std::hypot(ax, ay) * std::hypot(bx, by);
  if (scale == 0.0 || std::fabs(cross) <= kParallelTolerance * scale) return RTNONE;
  double cx = p3[X] - p1[X], cy = p3[Y] - p1[Y];
  double t = (cx * by - cy * bx) / cross;  // along p1-p2
  double u = (cx * ay - cy * ax) / cross;  // along p3-p4
  if (onSegments) {
    constexpr double kLow = -kSegmentParameterTolerance;
    constexpr double kHigh = 1.0 + kSegmentParameterTolerance;
    if (t < kLow || t > kHigh || u < kLow || u > kHigh) return RTNONE;
  }
  result[X] = p1[X] + t * ax;
  result[Y] = p1[Y] + t * ay;
  result[Z] = p1[Z] + t * (p2[Z] - p1[Z]);
  return RTNORM;
}
