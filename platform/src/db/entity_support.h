// Small helpers the entity kinds share.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "cad/db_object.h"
#include "cad/ge.h"
#include "cad/shared_name.h"

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

// A name filed as a string; on a failed read it keeps what the filer leaves in the text. A
// name read as the one the object already has (its linetype, its style) is kept without a lookup.
inline void ReadName(AcDbDwgFiler* filer, SharedName& name) {
  std::string text = name;
  filer->readString(&text);
  if (text != name.str()) name = text;
}

}  // namespace tessera::db

// Every setter starts here: nothing changes unless the object is open for write.
#define WRITE_GUARD() \
  if (Acad::ErrorStatus status_ = assertWriteEnabled(); status_ != Acad::eOk) return status_
