// Polylines: the old kinds with vertex objects (2D and 3D), and the lightweight polyline.
#include <cmath>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/entity_support.h"
#include "db/object_access.h"
#include "db/rx_define.h"

CAD_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, "SEQEND")
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbVertex, AcDbEntity)
CAD_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, "VERTEX")
CAD_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, "VERTEX")
CAD_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, "POLYLINE")
CAD_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, "POLYLINE")
CAD_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, "LWPOLYLINE")

using namespace tessera::db;

// ---- vertices

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& position) {
  WRITE_GUARD();
  m_position = position;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setBulge(double bulge) {
  WRITE_GUARD();
  m_bulge = bulge;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double width) {
  WRITE_GUARD();
  m_startWidth = width;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double width) {
  WRITE_GUARD();
  m_endWidth = width;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_position);
  filer->writeDouble(m_bulge);
  filer->writeDouble(m_startWidth);
  filer->writeDouble(m_endWidth);
  filer->writeInt16(static_cast<Adesk::Int16>(m_type));
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dVertex::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  Adesk::Int16 type = 0;
  filer->readPoint3d(&m_position);
  filer->readDouble(&m_bulge);
  filer->readDouble(&m_startWidth);
  filer->readDouble(&m_endWidth);
  filer->readInt16(&type);
  m_type = static_cast<AcDb::Vertex2dType>(std::clamp<int>(type, 0, 3));
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& position) {
  WRITE_GUARD();
  m_position = position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_position);
  filer->writeInt16(static_cast<Adesk::Int16>(m_type));
  return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolylineVertex::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  Adesk::Int16 type = 0;
  filer->readPoint3d(&m_position);
  filer->readInt16(&type);
  m_type = static_cast<AcDb::Vertex3dType>(std::clamp<int>(type, 0, 2));
  return filer->filerStatus();
}

// ---- the shared part of the two old polylines

std::vector<AcDbObjectId> AcDbComplexEntity::vertexIds() const {
  std::vector<AcDbObjectId> ids;
  ids.reserve(m_vertices.size());
  for (AcDbObjectId id : m_vertices)
    if (!id.isErased()) ids.push_back(id);
  return ids;
}

AcDbObjectIterator* AcDbComplexEntity::vertexIterator() const {
  return new AcDbObjectIterator(vertexIds());
}

Acad::ErrorStatus AcDbComplexEntity::openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode) {
  return acdbOpenObject(end, m_sequenceEnd, mode);
}

Acad::ErrorStatus AcDbComplexEntity::appendOwnedVertex(AcDbObjectId& id, AcDbVertex* vertex) {
  id.setNull();
  if (vertex == nullptr) return Acad::eNullObjectId;
  if (vertex->database() != nullptr) return Acad::eAlreadyInDb;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  DatabaseImpl* impl = Impl(database());
  if (impl == nullptr) {
    m_pendingVertices.push_back(vertex);
    return Acad::eOk;
  }
  WRITE_GUARD();
  id = impl->addObject(vertex, objectId());
  m_vertices.push_back(id);
  if (m_sequenceEnd.isNull()) {
    auto* end = new AcDbSequenceEnd;
    m_sequenceEnd = impl->addObject(end, objectId());
    end->close();
  }
  return Acad::eOk;
}

// Vertex ids belong to the drawing the polyline is in; a copy gets vertices of its own.
Acad::ErrorStatus AcDbComplexEntity::filePolylineIds(AcDbDwgFiler* filer) const {
  if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
  filer->writeInt32(static_cast<Adesk::Int32>(m_vertices.size()));
  for (AcDbObjectId id : m_vertices) filer->writeHardOwnershipId(id);
  filer->writeHardOwnershipId(m_sequenceEnd);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbComplexEntity::readPolylineIds(AcDbDwgFiler* filer) {
  if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<AcDbObjectId> ids;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    AcDbObjectId id;
    filer->readHardOwnershipId(&id);
    ids.push_back(id);
  }
  AcDbObjectId end;
  filer->readHardOwnershipId(&end);
  if (filer->filerStatus() == Acad::eOk) {
    m_vertices = std::move(ids);
    m_sequenceEnd = end;
  }
  return filer->filerStatus();
}

AcDbComplexEntity* AcDbComplexEntity::cast(const AcRxObject* object) {
  if (AcDb2dPolyline* polyline = AcDb2dPolyline::cast(object)) return polyline;
  return AcDb3dPolyline::cast(object);
}

namespace {

// Opens each vertex of an old polyline for write in turn and lets `change` edit it.
template <typename Vertex, typename Change>
Acad::ErrorStatus ChangeVertices(const std::vector<AcDbObjectId>& ids, Change change) {
  int index = 0;
  for (AcDbObjectId id : ids) {
    Vertex* vertex = nullptr;
    if (acdbOpenObject(vertex, id, AcDb::kForWrite) == Acad::eOk) {
      change(vertex, index);
      vertex->close();
    }
    ++index;
  }
  return Acad::eOk;
}

template <typename Vertex>
std::vector<AcGePoint3d> PositionsOf(const std::vector<AcDbObjectId>& ids) {
  std::vector<AcGePoint3d> points;
  points.reserve(ids.size());
  for (AcDbObjectId id : ids) {
    AcDbStub* stub = id.stub();
    if (stub == nullptr || stub->object == nullptr) continue;
    if (auto* vertex = Vertex::cast(stub->object)) points.push_back(vertex->position());
  }
  return points;
}

}  // namespace

void AcDbComplexEntity::forEachSubEntity(void (*apply)(AcDbEntity*, const void*), const void* arg) {
  for (AcDbVertex* pending : m_pendingVertices) apply(pending, arg);
  for (AcDbObjectId id : vertexIds()) {
    AcDbEntity* vertex = nullptr;
    if (acdbOpenAcDbEntity(vertex, id, AcDb::kForWrite) != Acad::eOk) continue;
    apply(vertex, arg);
    vertex->close();
  }
}

AcDbObject* AcDbComplexEntity::cloneObject() const {
  auto* copy = static_cast<AcDbComplexEntity*>(AcDbObject::cloneObject());
  if (copy == nullptr) return nullptr;
  for (AcDbObjectId id : vertexIds()) {
    AcDbObject* vertex = nullptr;
    if (acdbOpenAcDbObject(vertex, id, AcDb::kForRead) != Acad::eOk) continue;
    if (auto* vertexCopy = AcDbVertex::cast(vertex->cloneObject()))
      copy->m_pendingVertices.push_back(vertexCopy);
    vertex->close();
  }
  return copy;
}

// ---- 2D polyline

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices,
                               double elevation, bool closed, double defaultStartWidth,
                               double defaultEndWidth, const AcGeDoubleArray* bulges)
    : m_type(type),
      m_closed(closed),
      m_elevation(elevation),
      m_defaultStartWidth(defaultStartWidth),
      m_defaultEndWidth(defaultEndWidth) {
  for (int i = 0; i < vertices.length(); ++i) {
    double bulge = (bulges && i < bulges->length()) ? (*bulges)[i] : 0.0;
    AcGePoint3d at(vertices[i].x, vertices[i].y, elevation);
    auto* vertex = new AcDb2dVertex(at, bulge);
    vertex->setStartWidth(defaultStartWidth);
    vertex->setEndWidth(defaultEndWidth);
    ObjectAccess::pendingVertices(this).push_back(vertex);
  }
}

AcDb2dPolyline::~AcDb2dPolyline() {
  for (AcDbVertex* pending : ObjectAccess::pendingVertices(this)) delete pending;
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
  WRITE_GUARD();
  m_type = type;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::makeClosed() {
  WRITE_GUARD();
  m_closed = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::makeOpen() {
  WRITE_GUARD();
  m_closed = false;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setElevation(double elevation) {
  WRITE_GUARD();
  m_elevation = elevation;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex) {
  return appendOwnedVertex(id, vertex);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex) {
  AcDbObjectId id;
  return appendOwnedVertex(id, vertex);
}

Acad::ErrorStatus AcDb2dPolyline::openVertex(AcDb2dVertex*& vertex, AcDbObjectId id,
                                             AcDb::OpenMode mode) {
  vertex = nullptr;
  if (std::find(rawVertices().begin(), rawVertices().end(), id) == rawVertices().end())
    return Acad::eInvalidInput;
  return acdbOpenObject(vertex, id, mode);
}

std::vector<AcGePoint3d> AcDb2dPolyline::vertexPositions() const {
  return PositionsOf<AcDb2dVertex>(vertexIds());
}

Acad::ErrorStatus AcDb2dPolyline::getStartPoint(AcGePoint3d& point) const {
  std::vector<AcGePoint3d> points = vertexPositions();
  if (points.empty()) return Acad::eInvalidInput;
  point = points.front();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getEndPoint(AcGePoint3d& point) const {
  std::vector<AcGePoint3d> points = vertexPositions();
  if (points.empty()) return Acad::eInvalidInput;
  point = m_closed ? points.front() : points.back();
  return Acad::eOk;
}

// The polyline announces its change before any vertex opens, so that reactors hearing of it can
// still read every vertex.
Acad::ErrorStatus AcDb2dPolyline::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  return ChangeVertices<AcDb2dVertex>(
      vertexIds(), [&](AcDb2dVertex* v, int) { v->setPosition(v->position() + displacement); });
}

void AcDb2dPolyline::gripPoints(std::vector<AcGePoint3d>& points) const {
  points = vertexPositions();
}

Acad::ErrorStatus AcDb2dPolyline::moveGripPointAt(int index, const AcGePoint3d& to) {
  std::vector<AcDbObjectId> ids = vertexIds();
  if (index < 0 || index >= static_cast<int>(ids.size())) return Acad::eInvalidIndex;
  WRITE_GUARD();
  return ChangeVertices<AcDb2dVertex>({ids[index]}, [&](AcDb2dVertex* v, int) {
    v->setPosition(AcGePoint3d(to.x, to.y, v->position().z));
  });
}

void AcDb2dPolyline::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = vertexPositions();
}

Acad::ErrorStatus AcDb2dPolyline::moveStretchPointsAt(const std::vector<int>& indices,
                                                      const AcGeVector3d& offset) {
  WRITE_GUARD();
  return ChangeVertices<AcDb2dVertex>(vertexIds(), [&](AcDb2dVertex* v, int i) {
    if (Contains(indices, i)) v->setPosition(v->position() + offset);
  });
}

Acad::ErrorStatus AcDb2dPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writeInt16(static_cast<Adesk::Int16>(m_type));
  filer->writeBool(m_closed);
  filer->writeDouble(m_elevation);
  filer->writeVector3d(m_normal);
  filer->writeDouble(m_defaultStartWidth);
  filer->writeDouble(m_defaultEndWidth);
  return filePolylineIds(filer);
}

Acad::ErrorStatus AcDb2dPolyline::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  Adesk::Int16 type = 0;
  filer->readInt16(&type);
  m_type = static_cast<AcDb::Poly2dType>(std::clamp<int>(type, 0, 3));
  filer->readBool(&m_closed);
  filer->readDouble(&m_elevation);
  filer->readVector3d(&m_normal);
  filer->readDouble(&m_defaultStartWidth);
  filer->readDouble(&m_defaultEndWidth);
  return readPolylineIds(filer);
}

// ---- 3D polyline

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : m_type(type), m_closed(closed) {
  for (const AcGePoint3d& point : vertices)
    ObjectAccess::pendingVertices(this).push_back(new AcDb3dPolylineVertex(point));
}

AcDb3dPolyline::~AcDb3dPolyline() {
  for (AcDbVertex* pending : ObjectAccess::pendingVertices(this)) delete pending;
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
  WRITE_GUARD();
  m_type = type;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb3dPolyline::makeClosed() {
  WRITE_GUARD();
  m_closed = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb3dPolyline::makeOpen() {
  WRITE_GUARD();
  m_closed = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex) {
  return appendOwnedVertex(id, vertex);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) {
  AcDbObjectId id;
  return appendOwnedVertex(id, vertex);
}

std::vector<AcGePoint3d> AcDb3dPolyline::vertexPositions() const {
  return PositionsOf<AcDb3dPolylineVertex>(vertexIds());
}

Acad::ErrorStatus AcDb3dPolyline::getStartPoint(AcGePoint3d& point) const {
  std::vector<AcGePoint3d> points = vertexPositions();
  if (points.empty()) return Acad::eInvalidInput;
  point = points.front();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndPoint(AcGePoint3d& point) const {
  std::vector<AcGePoint3d> points = vertexPositions();
  if (points.empty()) return Acad::eInvalidInput;
  point = m_closed ? points.front() : points.back();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  return ChangeVertices<AcDb3dPolylineVertex>(vertexIds(), [&](AcDb3dPolylineVertex* v, int) {
    v->setPosition(v->position() + displacement);
  });
}

void AcDb3dPolyline::gripPoints(std::vector<AcGePoint3d>& points) const {
  points = vertexPositions();
}

Acad::ErrorStatus AcDb3dPolyline::moveGripPointAt(int index, const AcGePoint3d& to) {
  std::vector<AcDbObjectId> ids = vertexIds();
  if (index < 0 || index >= static_cast<int>(ids.size())) return Acad::eInvalidIndex;
  WRITE_GUARD();
  return ChangeVertices<AcDb3dPolylineVertex>(
      {ids[index]}, [&](AcDb3dPolylineVertex* v, int) { v->setPosition(to); });
}

void AcDb3dPolyline::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = vertexPositions();
}

Acad::ErrorStatus AcDb3dPolyline::moveStretchPointsAt(const std::vector<int>& indices,
                                                      const AcGeVector3d& offset) {
  WRITE_GUARD();
  return ChangeVertices<AcDb3dPolylineVertex>(vertexIds(), [&](AcDb3dPolylineVertex* v, int i) {
    if (Contains(indices, i)) v->setPosition(v->position() + offset);
  });
}

Acad::ErrorStatus AcDb3dPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writeInt16(static_cast<Adesk::Int16>(m_type));
  filer->writeBool(m_closed);
  return filePolylineIds(filer);
}

Acad::ErrorStatus AcDb3dPolyline::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  Adesk::Int16 type = 0;
  filer->readInt16(&type);
  m_type = static_cast<AcDb::Poly3dType>(std::clamp<int>(type, 0, 2));
  filer->readBool(&m_closed);
  return readPolylineIds(filer);
}

// ---- lightweight polyline

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point,
                                            double bulge, double startWidth, double endWidth) {
  if (index > m_vertices.size()) return Acad::eInvalidIndex;
  WRITE_GUARD();
  Vertex vertex{point, bulge, startWidth < 0 ? 0.0 : startWidth, endWidth < 0 ? 0.0 : endWidth};
  m_vertices.insert(m_vertices.begin() + index, vertex);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  WRITE_GUARD();
  m_vertices.erase(m_vertices.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  point = m_vertices[index].point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  point.set(m_vertices[index].point.x, m_vertices[index].point.y, m_elevation);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& point) {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  WRITE_GUARD();
  m_vertices[index].point = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  bulge = m_vertices[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  WRITE_GUARD();
  m_vertices[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  startWidth = m_vertices[index].startWidth;
  endWidth = m_vertices[index].endWidth;
  return Acad::eOk;
}

bool AcDbPolyline::isOnlyLines() const {
  for (const Vertex& vertex : m_vertices)
    if (vertex.bulge != 0.0) return false;
  return true;
}

void AcDbPolyline::setClosed(bool closed) {
  if (assertWriteEnabled() == Acad::eOk) m_closed = closed;
}
void AcDbPolyline::setElevation(double elevation) {
  if (assertWriteEnabled() == Acad::eOk) m_elevation = elevation;
}
void AcDbPolyline::setNormal(const AcGeVector3d& normal) {
  if (assertWriteEnabled() == Acad::eOk) m_normal = normal;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& point) const {
  return getPointAt(0u, point);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& point) const {
  if (m_vertices.empty()) return Acad::eInvalidIndex;
  return getPointAt(m_closed ? 0u : numVerts() - 1, point);
}

Acad::ErrorStatus AcDbPolyline::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  for (Vertex& vertex : m_vertices) {
    vertex.point.x += displacement.x;
    vertex.point.y += displacement.y;
  }
  m_elevation += displacement.z;
  return Acad::eOk;
}

void AcDbPolyline::gripPoints(std::vector<AcGePoint3d>& points) const {
  points.clear();
  for (const Vertex& vertex : m_vertices)
    points.emplace_back(vertex.point.x, vertex.point.y, m_elevation);
}

Acad::ErrorStatus AcDbPolyline::moveGripPointAt(int index, const AcGePoint3d& to) {
  if (index < 0) return Acad::eInvalidIndex;
  return setPointAt(static_cast<unsigned>(index), AcGePoint2d(to.x, to.y));
}

void AcDbPolyline::stretchPoints(std::vector<AcGePoint3d>& points) const {
  gripPoints(points);
}

Acad::ErrorStatus AcDbPolyline::moveStretchPointsAt(const std::vector<int>& indices,
                                                    const AcGeVector3d& offset) {
  WRITE_GUARD();
  for (int index : indices) {
    if (index < 0 || index >= static_cast<int>(m_vertices.size())) continue;
    m_vertices[index].point.x += offset.x;
    m_vertices[index].point.y += offset.y;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writeBool(m_closed);
  filer->writeDouble(m_elevation);
  filer->writeDouble(m_constantWidth);
  filer->writeVector3d(m_normal);
  filer->writeInt32(static_cast<Adesk::Int32>(m_vertices.size()));
  for (const Vertex& vertex : m_vertices) {
    filer->writeDouble(vertex.point.x);
    filer->writeDouble(vertex.point.y);
    filer->writeDouble(vertex.bulge);
    filer->writeDouble(vertex.startWidth);
    filer->writeDouble(vertex.endWidth);
  }
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  filer->readBool(&m_closed);
  filer->readDouble(&m_elevation);
  filer->readDouble(&m_constantWidth);
  filer->readVector3d(&m_normal);
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<Vertex> vertices;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    Vertex vertex;
    filer->readDouble(&vertex.point.x);
    filer->readDouble(&vertex.point.y);
    filer->readDouble(&vertex.bulge);
    filer->readDouble(&vertex.startWidth);
    filer->readDouble(&vertex.endWidth);
    vertices.push_back(vertex);
  }
  if (filer->filerStatus() == Acad::eOk) m_vertices = std::move(vertices);
  return filer->filerStatus();
}
