// DXF filing of the entity kinds the platform draws: each lists its fields once, beside the
// group code and default, and both directions read that list.
#include "cad/db_database.h"
#include "db/database_impl.h"
#include "db/shared_name_fields.h"
#include "files/dxf_fields.h"

namespace {

using tessera::files::kDefaultNormal;
using tessera::files::kOriginPoint;
using tessera::files::SubclassGroups;

constexpr int kEntitiesFollowCode = 66;
// Polyline flags (group 70).
constexpr Adesk::Int16 kPolylineClosed = 1;
constexpr Adesk::Int16 kPolylineCurveFit = 2;
constexpr Adesk::Int16 kPolylineSplineFit = 4;
constexpr Adesk::Int16 kPolyline3d = 8;
// Spline kinds (group 75).
constexpr Adesk::Int16 kQuadraticSpline = 5;
constexpr Adesk::Int16 kCubicSpline = 6;
// Vertex flags (group 70).
constexpr Adesk::Int16 kVertexCurveFit = 1;
constexpr Adesk::Int16 kVertexSplineFit = 8;
constexpr Adesk::Int16 kVertexSplineControl = 16;
constexpr Adesk::Int16 kVertex3d = 32;

Acad::ErrorStatus FinishRead(const SubclassGroups& in) {
  return in.status();
}

}  // namespace

// Lines.

#define TESSERA_LINE_FIELDS(F)         \
  F(Optional, 39, m_thickness, 0.0)    \
  F(Always, 10, m_start, kOriginPoint) \
  F(Always, 11, m_end, kOriginPoint)   \
  F(Optional, 210, m_normal, kDefaultNormal)

Acad::ErrorStatus AcDbLine::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbLine");
  TESSERA_LINE_FIELDS(TESSERA_DXF_PUT)
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbLine::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbLine");
  while (in.next()) {
    switch (in.code()) { TESSERA_LINE_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

// Circles, and the circle part of arcs.

#define TESSERA_CIRCLE_FIELDS(F)        \
  F(Always, 10, m_center, kOriginPoint) \
  F(Always, 40, m_radius, 0.0)          \
  F(Optional, 210, m_normal, kDefaultNormal)

#define TESSERA_ARC_FIELDS(F)     \
  F(Angle, 50, m_startAngle, 0.0) \
  F(Angle, 51, m_endAngle, 0.0)

Acad::ErrorStatus AcDbCircle::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbCircle");
  TESSERA_CIRCLE_FIELDS(TESSERA_DXF_PUT)
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbCircle");
  while (in.next()) {
    switch (in.code()) { TESSERA_CIRCLE_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

Acad::ErrorStatus AcDbArc::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbCircle");
  TESSERA_CIRCLE_FIELDS(TESSERA_DXF_PUT)
  filer->writeString(AcDb::kDxfSubclass, "AcDbArc");
  TESSERA_ARC_FIELDS(TESSERA_DXF_PUT)
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbArc::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups circle(filer, "AcDbCircle");
  while (circle.next()) {
    SubclassGroups& in = circle;
    switch (in.code()) { TESSERA_CIRCLE_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  if (circle.status() != Acad::eOk) return circle.status();
  SubclassGroups in(filer, "AcDbArc");
  while (in.next()) {
    switch (in.code()) { TESSERA_ARC_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

// Texts.

#define TESSERA_TEXT_FIELDS(F)                       \
  F(Optional, 39, m_thickness, 0.0)                  \
  F(Always, 10, m_position, kOriginPoint)            \
  F(Always, 40, m_height, 0.0)                       \
  F(Always, 1, m_text, "")                           \
  F(OptionalAngle, 50, m_rotation, 0.0)              \
  F(Optional, 41, m_widthFactor, 1.0)                \
  F(OptionalAngle, 51, m_oblique, 0.0)               \
  F(Optional, 7, m_styleName, "Standard")            \
  F(Optional, 72, m_horizontalMode, AcDb::kTextLeft) \
  F(Always, 11, m_alignmentPoint, kOriginPoint)      \
  F(Optional, 210, m_normal, kDefaultNormal)

// The second text subclass of a plain text carries its vertical alignment.
#define TESSERA_TEXT_TAIL_FIELDS(F) F(Optional, 73, m_verticalMode, AcDb::kTextBase)

Acad::ErrorStatus AcDbText::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbText");
  // The alignment point goes out when it means something, or when a file gave it.
  bool aligned = m_horizontalMode != AcDb::kTextLeft || m_verticalMode != AcDb::kTextBase ||
                 m_alignmentPoint != kOriginPoint;
#define TESSERA_TEXT_PUT(KIND, CODE, MEMBER, DEFAULT) \
  if (CODE != 11 || aligned) TESSERA_DXF_PUT(KIND, CODE, MEMBER, DEFAULT)
  TESSERA_TEXT_FIELDS(TESSERA_TEXT_PUT)
#undef TESSERA_TEXT_PUT
  // Attributes and their definitions put the vertical alignment in their own subclass.
  if (isA() == AcDbText::desc()) {
    filer->writeString(AcDb::kDxfSubclass, "AcDbText");
    TESSERA_TEXT_TAIL_FIELDS(TESSERA_DXF_PUT)
  }
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbText::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbEntity::dxfInFields(filer); status != Acad::eOk) return status;
  bool alignmentGiven = false;
  {
    SubclassGroups in(filer, "AcDbText");
    while (in.next()) {
      if (in.code() == 11) alignmentGiven = true;
      switch (in.code()) { TESSERA_TEXT_FIELDS(TESSERA_DXF_TAKE) default : break; }
    }
    if (in.status() != Acad::eOk) return in.status();
  }
  if (isA() == AcDbText::desc()) {
    SubclassGroups in(filer, "AcDbText");
    while (in.next()) {
      switch (in.code()) { TESSERA_TEXT_TAIL_FIELDS(TESSERA_DXF_TAKE) default : break; }
    }
    if (in.status() != Acad::eOk) return in.status();
  }
  // Alignments out of range read as the default; an aligned text without its point keeps
  // its start in place.
  if (m_horizontalMode < AcDb::kTextLeft || m_horizontalMode > AcDb::kTextFit)
    m_horizontalMode = AcDb::kTextLeft;
  if (m_verticalMode < AcDb::kTextBase || m_verticalMode > AcDb::kTextTop)
    m_verticalMode = AcDb::kTextBase;
  bool aligned = m_horizontalMode != AcDb::kTextLeft || m_verticalMode != AcDb::kTextBase;
  if (aligned && !alignmentGiven) m_alignmentPoint = m_position;
  return filer->filerStatus();
}

#define TESSERA_ATTDEF_FIELDS(F) \
  F(Always, 3, m_prompt, "")     \
  F(Always, 2, m_tag, "")        \
  F(Always, 70, m_flags, 0)

Acad::ErrorStatus AcDbAttributeDefinition::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbText::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbAttributeDefinition");
  TESSERA_ATTDEF_FIELDS(TESSERA_DXF_PUT)
  tessera::files::PutOptional(filer, 74, verticalMode(), AcDb::kTextBase);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbText::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbAttributeDefinition");
  while (in.next()) {
    if (in.code() == 74) {
      AcDb::TextVertMode mode = AcDb::kTextBase;
      tessera::files::Take(in, mode);
      if (mode >= AcDb::kTextBase && mode <= AcDb::kTextTop) setVerticalMode(mode);
    }
    switch (in.code()) { TESSERA_ATTDEF_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

#define TESSERA_ATTRIB_FIELDS(F) \
  F(Always, 2, m_tag, "")        \
  F(Always, 70, m_flags, 0)

Acad::ErrorStatus AcDbAttribute::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbText::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbAttribute");
  TESSERA_ATTRIB_FIELDS(TESSERA_DXF_PUT)
  tessera::files::PutOptional(filer, 74, verticalMode(), AcDb::kTextBase);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbText::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbAttribute");
  while (in.next()) {
    if (in.code() == 74) {
      AcDb::TextVertMode mode = AcDb::kTextBase;
      tessera::files::Take(in, mode);
      if (mode >= AcDb::kTextBase && mode <= AcDb::kTextTop) setVerticalMode(mode);
    }
    switch (in.code()) { TESSERA_ATTRIB_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

// Block references. The block is named in the file; attributes follow the reference.

#define TESSERA_INSERT_FIELDS(F)          \
  F(Always, 10, m_position, kOriginPoint) \
  F(Optional, 41, m_scale.sx, 1.0)        \
  F(Optional, 42, m_scale.sy, 1.0)        \
  F(Optional, 43, m_scale.sz, 1.0)        \
  F(OptionalAngle, 50, m_rotation, 0.0)   \
  F(Optional, 210, m_normal, kDefaultNormal)

Acad::ErrorStatus AcDbBlockReference::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbBlockReference");
  if (!attributeIds().empty()) filer->writeInt16(kEntitiesFollowCode, 1);
  filer->writeString(AcDb::kDxfBlockName, blockName());
  TESSERA_INSERT_FIELDS(TESSERA_DXF_PUT)
  return filer->filerStatus();
}

namespace {

AcDbObjectId BlockNamed(AcDbDatabase* database, const std::string& name) {
  tessera::db::DatabaseImpl* impl = tessera::db::Impl(database);
  if (impl == nullptr || !impl->blockTable.isValid()) return AcDbObjectId();
  auto* table = AcDbBlockTable::cast(impl->blockTable.stub()->object);
  AcDbObjectId id;
  if (table != nullptr) table->getAt(name.c_str(), id);
  return id;
}

}  // namespace

Acad::ErrorStatus AcDbBlockReference::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbEntity::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbBlockReference");
  while (in.next()) {
    if (in.code() == AcDb::kDxfBlockName) m_block = BlockNamed(filer->database(), in.text());
    switch (in.code()) { TESSERA_INSERT_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  return FinishRead(in);
}

// Polylines of the old kind: the polyline, then its vertices and a sequence end as entities of
// their own (the file writer puts them after it).

namespace {

Adesk::Int16 SplineKind(bool quadratic) {
  return quadratic ? kQuadraticSpline : kCubicSpline;
}

}  // namespace

#define TESSERA_POLYLINE2D_FIELDS(F)        \
  F(Optional, 40, m_defaultStartWidth, 0.0) \
  F(Optional, 41, m_defaultEndWidth, 0.0)   \
  F(Optional, 210, m_normal, kDefaultNormal)

Acad::ErrorStatus AcDb2dPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDb2dPolyline");
  filer->writeInt16(kEntitiesFollowCode, 1);
  filer->writePoint3d(10, AcGePoint3d(0, 0, m_elevation));
  Adesk::Int16 flags = m_closed ? kPolylineClosed : 0;
  if (m_type == AcDb::k2dFitCurvePoly) flags |= kPolylineCurveFit;
  bool spline = m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly;
  if (spline) flags |= kPolylineSplineFit;
  filer->writeInt16(70, flags);
  if (spline) filer->writeInt16(75, SplineKind(m_type == AcDb::k2dQuadSplinePoly));
  TESSERA_POLYLINE2D_FIELDS(TESSERA_DXF_PUT)
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dPolyline::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDb2dPolyline");
  Adesk::Int16 flags = 0;
  Adesk::Int16 curve = 0;
  while (in.next()) {
    if (in.code() == 10) m_elevation = in.item().resval.rpoint[2];
    if (in.code() == 70) flags = in.item().resval.rint;
    if (in.code() == 75) curve = in.item().resval.rint;
    switch (in.code()) { TESSERA_POLYLINE2D_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  m_closed = (flags & kPolylineClosed) != 0;
  if (flags & kPolylineSplineFit) {
    m_type = curve == kQuadraticSpline ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
  } else {
    m_type = (flags & kPolylineCurveFit) ? AcDb::k2dFitCurvePoly : AcDb::k2dSimplePoly;
  }
  return FinishRead(in);
}

Acad::ErrorStatus AcDb3dPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDb3dPolyline");
  filer->writeInt16(kEntitiesFollowCode, 1);
  filer->writePoint3d(10, kOriginPoint);
  bool spline = m_type != AcDb::k3dSimplePoly;
  Adesk::Int16 flags = kPolyline3d | (m_closed ? kPolylineClosed : 0);
  if (spline) flags |= kPolylineSplineFit;
  filer->writeInt16(70, flags);
  if (spline) filer->writeInt16(75, SplineKind(m_type == AcDb::k3dQuadSplinePoly));
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolyline::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDb3dPolyline");
  Adesk::Int16 flags = 0;
  Adesk::Int16 curve = 0;
  while (in.next()) {
    if (in.code() == 70) flags = in.item().resval.rint;
    if (in.code() == 75) curve = in.item().resval.rint;
  }
  m_closed = (flags & kPolylineClosed) != 0;
  m_type = !(flags & kPolylineSplineFit) ? AcDb::k3dSimplePoly
           : curve == kQuadraticSpline   ? AcDb::k3dQuadSplinePoly
                                         : AcDb::k3dCubicSplinePoly;
  return FinishRead(in);
}

#define TESSERA_VERTEX2D_FIELDS(F)        \
  F(Always, 10, m_position, kOriginPoint) \
  F(Optional, 40, m_startWidth, 0.0)      \
  F(Optional, 41, m_endWidth, 0.0)        \
  F(Optional, 42, m_bulge, 0.0)

Acad::ErrorStatus AcDb2dVertex::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbVertex::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbVertex");
  filer->writeString(AcDb::kDxfSubclass, "AcDb2dVertex");
  TESSERA_VERTEX2D_FIELDS(TESSERA_DXF_PUT)
  Adesk::Int16 flags = m_type == AcDb::k2dCurveFitVertex    ? kVertexCurveFit
                       : m_type == AcDb::k2dSplineFitVertex ? kVertexSplineFit
                       : m_type == AcDb::k2dSplineCtlVertex ? kVertexSplineControl
                                                            : 0;
  filer->writeInt16(70, flags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dVertex::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbVertex::dxfInFields(filer); status != Acad::eOk) return status;
  filer->atSubclassData("AcDbVertex");
  SubclassGroups in(filer, "AcDb2dVertex");
  Adesk::Int16 flags = 0;
  while (in.next()) {
    if (in.code() == 70) flags = in.item().resval.rint;
    switch (in.code()) { TESSERA_VERTEX2D_FIELDS(TESSERA_DXF_TAKE) default : break; }
  }
  m_type = (flags & kVertexSplineControl) ? AcDb::k2dSplineCtlVertex
           : (flags & kVertexSplineFit)   ? AcDb::k2dSplineFitVertex
           : (flags & kVertexCurveFit)    ? AcDb::k2dCurveFitVertex
                                          : AcDb::k2dVertex;
  return FinishRead(in);
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbVertex::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbVertex");
  filer->writeString(AcDb::kDxfSubclass, "AcDb3dPolylineVertex");
  filer->writePoint3d(10, m_position);
  Adesk::Int16 flags = kVertex3d | (m_type == AcDb::k3dControlVertex ? kVertexSplineControl
                                    : m_type == AcDb::k3dFitVertex   ? kVertexSplineFit
                                                                     : 0);
  filer->writeInt16(70, flags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbVertex::dxfInFields(filer); status != Acad::eOk) return status;
  filer->atSubclassData("AcDbVertex");
  SubclassGroups in(filer, "AcDb3dPolylineVertex");
  Adesk::Int16 flags = 0;
  while (in.next()) {
    if (in.code() == 10) tessera::files::Take(in, m_position);
    if (in.code() == 70) flags = in.item().resval.rint;
  }
  m_type = (flags & kVertexSplineControl) ? AcDb::k3dControlVertex
           : (flags & kVertexSplineFit)   ? AcDb::k3dFitVertex
                                          : AcDb::k3dSimpleVertex;
  return FinishRead(in);
}

// Lightweight polylines keep their vertices inside: 10 starts a vertex, and the widths and
// bulge after it belong to it.

#define TESSERA_LWPOLYLINE_FIELDS(F)    \
  F(Optional, 43, m_constantWidth, 0.0) \
  F(Optional, 38, m_elevation, 0.0)     \
  F(Optional, 210, m_normal, kDefaultNormal)

Acad::ErrorStatus AcDbPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbCurve::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbPolyline");
  filer->writeInt32(AcDb::kDxfInt32, static_cast<Adesk::Int32>(m_vertices.size()));
  filer->writeInt16(70, m_closed ? kPolylineClosed : 0);
  TESSERA_LWPOLYLINE_FIELDS(TESSERA_DXF_PUT)
  for (const Vertex& vertex : m_vertices) {
    filer->writeDouble(10, vertex.point.x);
    filer->writeDouble(20, vertex.point.y);
    if (vertex.startWidth != 0.0 || vertex.endWidth != 0.0) {
      filer->writeDouble(40, vertex.startWidth);
      filer->writeDouble(41, vertex.endWidth);
    }
    if (vertex.bulge != 0.0) filer->writeDouble(42, vertex.bulge);
  }
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbCurve::dxfInFields(filer); status != Acad::eOk) return status;
  SubclassGroups in(filer, "AcDbPolyline");
  m_vertices.clear();
  while (in.next()) {
    const resbuf& item = in.item();
    switch (in.code()) {
      case 10:
        m_vertices.push_back(Vertex{AcGePoint2d(item.resval.rpoint[0], item.resval.rpoint[1])});
        break;
      case 40:
        if (!m_vertices.empty()) m_vertices.back().startWidth = item.resval.rreal;
        break;
      case 41:
        if (!m_vertices.empty()) m_vertices.back().endWidth = item.resval.rreal;
        break;
      case 42:
        if (!m_vertices.empty()) m_vertices.back().bulge = item.resval.rreal;
        break;
      case 70:
        m_closed = (item.resval.rint & kPolylineClosed) != 0;
        break;
        TESSERA_LWPOLYLINE_FIELDS(TESSERA_DXF_TAKE)
      default:
        break;
    }
  }
  return FinishRead(in);
}
