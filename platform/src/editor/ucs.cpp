// Transformations between the current UCS and the world system, and acedTrans.
#include "editor/ucs.h"

#include <cmath>
#include <numbers>

#include "cad/ads.h"

namespace tessera::editor {

namespace {

constexpr int kWorld = 0;
constexpr int kUcs = 1;
constexpr int kDisplay = 2;  // the display system is the UCS here: there are no views

struct Axes {
  AcGePoint3d origin;
  AcGeVector3d x{1, 0, 0};
  AcGeVector3d y{0, 1, 0};
  AcGeVector3d z{0, 0, 1};
};

Axes AxesOf(const AcDbDatabase* database) {
  Axes axes;
  if (database == nullptr) return axes;
  axes.origin = database->ucsorg();
  axes.x = database->ucsxdir().normal();
  axes.y = database->ucsydir().normal();
  axes.z = axes.x.crossProduct(axes.y).normal();
  return axes;
}

}  // namespace

AcGeVector3d UcsToWorld(const AcGeVector3d& vector, const AcDbDatabase* database) {
  Axes axes = AxesOf(database);
  return axes.x * vector.x + axes.y * vector.y + axes.z * vector.z;
}

AcGeVector3d WorldToUcs(const AcGeVector3d& vector, const AcDbDatabase* database) {
  Axes axes = AxesOf(database);
  return {vector.dotProduct(axes.x), vector.dotProduct(axes.y), vector.dotProduct(axes.z)};
}

AcGePoint3d UcsToWorld(const AcGePoint3d& point, const AcDbDatabase* database) {
  return AxesOf(database).origin + UcsToWorld(point.asVector(), database);
}

AcGePoint3d WorldToUcs(const AcGePoint3d& point, const AcDbDatabase* database) {
  AcGeVector3d local = WorldToUcs(point - AxesOf(database).origin, database);
  return {local.x, local.y, local.z};
}

double UcsAngleToWorld(double angle, const AcDbDatabase* database) {
  const AcGeVector3d x = AxesOf(database).x;
  const double turn = 2.0 * std::numbers::pi;
  double world = std::fmod(angle + std::atan2(x.y, x.x), turn);
  return world < 0.0 ? world + turn : world;
}

}  // namespace tessera::editor

int acedTrans(const ads_point point, const resbuf* from, const resbuf* to, int displacement,
              ads_point result) {
  using namespace tessera::editor;
  auto system = [](const resbuf* code) -> int {
    if (code == nullptr || code->restype != RTSHORT) return -1;
    int value = code->resval.rint;
    return value == kDisplay ? kUcs : value;
  };
  int source = system(from);
  int target = system(to);
  if ((source != kWorld && source != kUcs) || (target != kWorld && target != kUcs)) return RTERROR;
  const AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcGePoint3d p(point[X], point[Y], point[Z]);
  AcGePoint3d q = p;
  if (source != target) {
    bool toWorld = target == kWorld;
    if (displacement) {
      AcGeVector3d v =
          toWorld ? UcsToWorld(p.asVector(), database) : WorldToUcs(p.asVector(), database);
      q = AcGePoint3d(v.x, v.y, v.z);
    } else {
      q = toWorld ? UcsToWorld(p, database) : WorldToUcs(p, database);
    }
  }
  result[X] = q.x;
  result[Y] = q.y;
  result[Z] = q.z;
  return RTNORM;
}
