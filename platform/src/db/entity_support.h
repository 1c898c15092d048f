// Small helpers the entity kinds share.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "cad/db_object.h"
#include "cad/ge.h"

namespace tessera::db {

constexpr double kTwoPi = 6.283185307179586;

// An angle brought into [0, 2pi).
inline double NormalAngle(double angle) {
  double a = std::fmod(angle, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

inline double DirectionXY(const AcGePoint3d& from, const AcGePoint3d& to) {
  return NormalAngle(std::atan2(to.y - from.y, to.x - from.x));
}

inline double DistanceXY(const AcGePoint3d& a, const AcGePoint3d& b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

inline bool Contains(const std::vector<int>& indices, int index) {
  return std::find(indices.begin(), indices.end(), index) != indices.end();
}

}  // namespace tessera::db

// Every setter starts here: nothing changes unless the object is open for write.
#define WRITE_GUARD() \
  if (Acad::ErrorStatus status_ = assertWriteEnabled(); status_ != Acad::eOk) return status_
