// What the classes' dxfOutFields and dxfInFields share: typed reading and writing of one field,
// and the walk over the groups of one subclass.
//
// Each class lists its fields once, as an X-macro of (kind, group code, member, default):
//   Always    written every time;
//   Optional  written only when it differs from the default;
//   Angle     radians in memory, degrees in the file, written every time;
//   OptionalAngle  the same, written only when it differs from the default.
// TESSERA_DXF_PUT expands a field into its write, TESSERA_DXF_TAKE into a `case` of the read.
#pragma once

#include <cstddef>
#include <numbers>
#include <string>
#include <type_traits>

#include "cad/db_object.h"

namespace tessera::files {

inline const AcGeVector3d kDefaultNormal(0, 0, 1);
inline const AcGePoint3d kOriginPoint(0, 0, 0);
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The groups of one subclass of a record. With the subclass marker (group 100) the groups run
// to the next marker; a record without markers (older files) has every subclass's groups mixed,
// so each subclass scans them all and leaves the position where it found it.
class SubclassGroups {
 public:
  SubclassGroups(AcDbDxfFiler* filer, const char* marker);
  // Moves to the next group; false at the end of this subclass's groups or on an error.
  bool next();
  int code() const { return m_item.restype; }
  const resbuf& item() const { return m_item; }
  const char* text() const { return m_item.resval.rstring ? m_item.resval.rstring : ""; }
  AcDbObjectId id() const;
  // Gives the current group back to the filer and ends this subclass (a class that reads a
  // group it does not know stops there).
  void pushBack();
  bool marked() const { return m_marked; }
  // eOk at the end of the groups, else the status that ended them.
  Acad::ErrorStatus status() const;

 private:
  AcDbDxfFiler* m_filer;
  resbuf m_item{};
  bool m_marked = false;
  bool m_scanning = false;
  std::size_t m_start = 0;
  bool m_done = false;
  Acad::ErrorStatus m_status = Acad::eOk;
};

// Reading one field from the current group.
inline void Take(const SubclassGroups& in, double& value) {
  value = in.item().resval.rreal;
}
inline void Take(const SubclassGroups& in, AcGePoint3d& value) {
  const double* p = in.item().resval.rpoint;
  value.set(p[0], p[1], p[2]);
}
inline void Take(const SubclassGroups& in, AcGeVector3d& value) {
  const double* p = in.item().resval.rpoint;
  value = AcGeVector3d(p[0], p[1], p[2]);
}
inline void Take(const SubclassGroups& in, std::string& value) {
  value = in.text();
}
template <typename T>
requires std::is_integral_v<T> || std::is_enum_v<T>
void Take(const SubclassGroups& in, T& value) {
  value = static_cast<T>(in.item().resval.rint);
}
inline void TakeAlways(const SubclassGroups& in, auto& value) {
  Take(in, value);
}
inline void TakeOptional(const SubclassGroups& in, auto& value) {
  Take(in, value);
}
inline void TakeAngle(const SubclassGroups& in, double& radians) {
  radians = in.item().resval.rreal / kDegreesPerRadian;
}
inline void TakeOptionalAngle(const SubclassGroups& in, double& radians) {
  TakeAngle(in, radians);
}

// Writing one field.
inline void Put(AcDbDxfFiler* filer, int code, double value) {
  filer->writeDouble(code, value);
}
inline void Put(AcDbDxfFiler* filer, int code, const AcGePoint3d& value) {
  filer->writePoint3d(code, value);
}
inline void Put(AcDbDxfFiler* filer, int code, const AcGeVector3d& value) {
  filer->writeVector3d(code, value);
}
inline void Put(AcDbDxfFiler* filer, int code, const std::string& value) {
  filer->writeString(code, value);
}
template <typename T>
requires std::is_integral_v<T> || std::is_enum_v<T>
void Put(AcDbDxfFiler* filer, int code, T value) {
  filer->writeInt16(code, static_cast<Adesk::Int16>(value));
}
template <typename T, typename D>
void PutAlways(AcDbDxfFiler* filer, int code, const T& value, const D&) {
  Put(filer, code, value);
}
template <typename T, typename D>
void PutOptional(AcDbDxfFiler* filer, int code, const T& value, const D& fallback) {
  if (!(value == static_cast<T>(fallback))) Put(filer, code, value);
}
inline void PutAngle(AcDbDxfFiler* filer, int code, double radians, double) {
  filer->writeDouble(code, radians * kDegreesPerRadian);
}
inline void PutOptionalAngle(AcDbDxfFiler* filer, int code, double radians, double fallback) {
  if (radians != fallback) PutAngle(filer, code, radians, fallback);
}

}  // namespace tessera::files

#define TESSERA_DXF_PUT(KIND, CODE, MEMBER, DEFAULT) \
  ::tessera::files::Put##KIND(filer, CODE, MEMBER, DEFAULT);
#define TESSERA_DXF_TAKE(KIND, CODE, MEMBER, DEFAULT) \
  case CODE:                                          \
    ::tessera::files::Take##KIND(in, MEMBER);         \
    break;
