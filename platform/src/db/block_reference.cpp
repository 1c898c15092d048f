// Block references and the attributes they own.
#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/entity_support.h"
#include "db/object_access.h"
#include "db/rx_define.h"

CAD_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, "INSERT")

using namespace tessera::db;

namespace {

// Beyond this many attributes the list grows by doubling again.
constexpr std::size_t kExactGrowthUpTo = 32;

}  // namespace

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : m_position(position), m_block(blockTableRecord) {}

AcDbBlockReference::~AcDbBlockReference() {
  for (AcDbAttribute* pending : m_pendingAttributes) delete pending;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
  WRITE_GUARD();
  m_position = position;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0) return Acad::eInvalidInput;
  WRITE_GUARD();
  m_scale = scale;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation) {
  WRITE_GUARD();
  m_rotation = rotation;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId block) {
  WRITE_GUARD();
  m_block = block;
  return Acad::eOk;
}

std::string AcDbBlockReference::blockName() const {
  AcDbStub* stub = m_block.stub();
  if (stub == nullptr || stub->object == nullptr) return "";
  auto* record = AcDbBlockTableRecord::cast(stub->object);
  return record ? record->getNameConst() : "";
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute) {
  id.setNull();
  if (attribute == nullptr) return Acad::eNullObjectId;
  if (attribute->database() != nullptr) return Acad::eAlreadyInDb;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  DatabaseImpl* impl = Impl(database());
  if (impl == nullptr) {
    m_pendingAttributes.push_back(attribute);
    return Acad::eOk;
  }
  WRITE_GUARD();
  id = impl->addObject(attribute, objectId());
  // A reference has a few attributes, added one by one and kept: the list grows exactly.
  if (m_attributes.size() == m_attributes.capacity() && m_attributes.size() < kExactGrowthUpTo)
    m_attributes.reserve(m_attributes.size() + 1);
  m_attributes.push_back(id);
  if (m_sequenceEnd.isNull()) {
    auto* end = new AcDbSequenceEnd;
    m_sequenceEnd = impl->addObject(end, objectId());
    end->close();
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* attribute) {
  AcDbObjectId id;
  return appendAttribute(id, attribute);
}

std::vector<AcDbObjectId> AcDbBlockReference::attributeIds() const {
  std::vector<AcDbObjectId> ids;
  for (AcDbObjectId id : m_attributes)
    if (!id.isErased()) ids.push_back(id);
  return ids;
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
  return new AcDbObjectIterator(attributeIds());
}

Acad::ErrorStatus AcDbBlockReference::openAttribute(AcDbAttribute*& attribute, AcDbObjectId id,
                                                    AcDb::OpenMode mode, bool openErased) {
  attribute = nullptr;
  if (std::find(m_attributes.begin(), m_attributes.end(), id) == m_attributes.end())
    return Acad::eInvalidInput;
  return acdbOpenObject(attribute, id, mode, openErased);
}

Acad::ErrorStatus AcDbBlockReference::openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode) {
  return acdbOpenObject(end, m_sequenceEnd, mode);
}

void AcDbBlockReference::forEachSubEntity(void (*apply)(AcDbEntity*, const void*),
                                          const void* arg) {
  for (AcDbAttribute* pending : m_pendingAttributes) apply(pending, arg);
  for (AcDbObjectId id : attributeIds()) {
    AcDbEntity* attribute = nullptr;
    if (acdbOpenAcDbEntity(attribute, id, AcDb::kForWrite) != Acad::eOk) continue;
    apply(attribute, arg);
    attribute->close();
  }
}

AcDbObject* AcDbBlockReference::cloneObject() const {
  auto* copy = static_cast<AcDbBlockReference*>(AcDbObject::cloneObject());
  if (copy == nullptr) return nullptr;
  for (AcDbObjectId id : attributeIds()) {
    AcDbObject* attribute = nullptr;
    if (acdbOpenAcDbObject(attribute, id, AcDb::kForRead) != Acad::eOk) continue;
    if (auto* attributeCopy = AcDbAttribute::cast(attribute->cloneObject()))
      copy->m_pendingAttributes.push_back(attributeCopy);
    attribute->close();
  }
  return copy;
}

// The reference moves with its attributes; they change as parts of it.
Acad::ErrorStatus AcDbBlockReference::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  m_position += displacement;
  for (AcDbAttribute* pending : m_pendingAttributes) pending->moveBy(displacement);
  for (AcDbObjectId id : attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (acdbOpenObject(attribute, id, AcDb::kForWrite) != Acad::eOk) continue;
    attribute->moveBy(displacement);
    attribute->close();
  }
  return Acad::eOk;
}

void AcDbBlockReference::gripPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_position};
}

Acad::ErrorStatus AcDbBlockReference::moveGripPointAt(int index, const AcGePoint3d& to) {
  if (index != 0) return Acad::eInvalidIndex;
  return moveBy(to - m_position);
}

void AcDbBlockReference::stretchPoints(std::vector<AcGePoint3d>& points) const {
  points = {m_position};
}

Acad::ErrorStatus AcDbBlockReference::moveStretchPointsAt(const std::vector<int>& indices,
                                                          const AcGeVector3d& offset) {
  return Contains(indices, 0) ? moveBy(offset) : Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  filer->writePoint3d(m_position);
  filer->writeDouble(m_scale.sx);
  filer->writeDouble(m_scale.sy);
  filer->writeDouble(m_scale.sz);
  filer->writeDouble(m_rotation);
  filer->writeVector3d(m_normal);
  filer->writeHardPointerId(m_block);
  if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
  filer->writeInt32(static_cast<Adesk::Int32>(m_attributes.size()));
  for (AcDbObjectId id : m_attributes) filer->writeHardOwnershipId(id);
  filer->writeHardOwnershipId(m_sequenceEnd);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  filer->readPoint3d(&m_position);
  filer->readDouble(&m_scale.sx);
  filer->readDouble(&m_scale.sy);
  filer->readDouble(&m_scale.sz);
  filer->readDouble(&m_rotation);
  filer->readVector3d(&m_normal);
  filer->readHardPointerId(&m_block);
  if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<AcDbObjectId> attributes;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    AcDbObjectId id;
    filer->readHardOwnershipId(&id);
    attributes.push_back(id);
  }
  AcDbObjectId end;
  filer->readHardOwnershipId(&end);
  if (filer->filerStatus() == Acad::eOk) {
    m_attributes = std::move(attributes);
    m_sequenceEnd = end;
  }
  return filer->filerStatus();
}
