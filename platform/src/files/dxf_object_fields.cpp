// DXF filing of the two bases every drawing object shares: the object (handle, persistent
// reactors, extension dictionary, owner) and the entity (layer, linetype, colour).
#include <algorithm>

#include "cad/db_database.h"
#include "db/database_impl.h"
#include "db/shared_name_fields.h"
#include "files/dxf_fields.h"
#include "files/dxf_filer.h"

namespace {

using tessera::files::DxfFiler;

constexpr const char* kReactorsGroup = "{ACAD_REACTORS";
constexpr const char* kXDictionaryGroup = "{ACAD_XDICTIONARY";
constexpr const char* kGroupEnd = "}";
// Paper-space entities say so in the file.
constexpr int kPaperSpaceCode = 67;

AcDbObjectId ItemId(const resbuf& item) {
  AcDbObjectId id;
  acdbGetObjectId(id, item.resval.rlname);
  return id;
}

// Reads the groups of a 102 control group up to its "}"; hands each pointer to `take`.
template <typename Take>
void ReadControlGroup(AcDbDxfFiler* filer, Take take) {
  resbuf item{};
  while (filer->readItem(&item) == Acad::eOk) {
    if (item.restype == AcDb::kDxfControlString) return;  // "}"
    if (item.restype == AcDb::kDxfSubclass) {
      filer->pushBackItem();  // an unclosed group: the subclass data starts here
      return;
    }
    if (item.restype >= 330 && item.restype <= 369) take(item.restype, ItemId(item));
  }
}

bool IsSaved(AcDbObjectId id) {
  return id.isValid() && !id.isErased();
}

}  // namespace

Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler* filer) const {
  filer->writeAcDbHandle(AcDb::kDxfHandle, getDbHandle());
  if (std::any_of(m_persistentReactors.begin(), m_persistentReactors.end(), IsSaved)) {
    filer->writeString(AcDb::kDxfControlString, kReactorsGroup);
    for (AcDbObjectId id : m_persistentReactors)
      if (IsSaved(id)) filer->writeObjectId(AcDb::kDxfSoftPointerId, id);
    filer->writeString(AcDb::kDxfControlString, kGroupEnd);
  }
  if (IsSaved(extensionDictionary())) {
    filer->writeString(AcDb::kDxfControlString, kXDictionaryGroup);
    filer->writeObjectId(AcDb::kDxfHardOwnershipId, extensionDictionary());
    filer->writeString(AcDb::kDxfControlString, kGroupEnd);
  }
  filer->writeObjectId(AcDb::kDxfSoftPointerId, ownerId());
  return filer->filerStatus();
}

// Reads up to the first subclass marker; a record without markers is scanned whole and the
// position goes back to its start for the subclasses.
Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler* filer) {
  auto* own = dynamic_cast<DxfFiler*>(filer);
  std::size_t start = own ? own->position() : 0;
  resbuf item{};
  while (filer->readItem(&item) == Acad::eOk) {
    if (item.restype == AcDb::kDxfSubclass) {
      filer->pushBackItem();
      return filer->filerStatus();
    }
    if (item.restype == AcDb::kDxfSoftPointerId) {
      m_ownerId = ItemId(item);
    } else if (item.restype == AcDb::kDxfControlString) {
      std::string group = item.resval.rstring ? item.resval.rstring : "";
      ReadControlGroup(filer, [&](int code, AcDbObjectId id) {
        if (group == kReactorsGroup && code == AcDb::kDxfSoftPointerId && !id.isNull() &&
            std::find(m_persistentReactors.begin(), m_persistentReactors.end(), id) ==
                m_persistentReactors.end())
          m_persistentReactors.push_back(id);
        if (group == kXDictionaryGroup && code == AcDb::kDxfHardOwnershipId)
          rare().extensionDictionary = id;
      });
    }
  }
  if (own != nullptr && filer->filerStatus() == Acad::eOk) own->seek(start);
  return filer->filerStatus();
}

// AcDbEntity: group code and default of each field.
#define TESSERA_ENTITY_FIELDS(F)               \
  F(Always, AcDb::kDxfLayerName, m_layer, "0") \
  F(Optional, 6, m_linetype, "ByLayer")        \
  F(Optional, 62, m_colorIndex, kColorByLayer)

Acad::ErrorStatus AcDbEntity::dxfOutFields(AcDbDxfFiler* filer) const {
  AcDbObject::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbEntity");
  tessera::db::DatabaseImpl* impl = tessera::db::Impl(database());
  if (impl != nullptr && !ownerId().isNull() && ownerId() == impl->paperSpace)
    filer->writeInt16(kPaperSpaceCode, 1);
  TESSERA_ENTITY_FIELDS(TESSERA_DXF_PUT)
  if (const KeptProperties* keptAsRead = keptProperties())
    for (const auto& [code, value] : *keptAsRead) filer->writeString(code, value.c_str());
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dxfInFields(AcDbDxfFiler* filer) {
  if (Acad::ErrorStatus status = AcDbObject::dxfInFields(filer); status != Acad::eOk) return status;
  tessera::files::SubclassGroups in(filer, "AcDbEntity");
  // The groups as text again, in the form the file had them.
  KeptProperties keptAsRead;
  DxfFiler kept(&keptAsRead, database());
  while (in.next()) {
    switch (in.code()) {
      TESSERA_ENTITY_FIELDS(TESSERA_DXF_TAKE)
      case kPaperSpaceCode:
        break;
      default:
        // Without subclass markers every group of the record comes here, not only the entity's.
        if (in.marked()) kept.writeItem(in.item());
        break;
    }
  }
  // Colours beyond ByLayer (and a layer's "off" sign) are no entity colours: ByLayer.
  if (m_colorIndex > kColorByLayer) m_colorIndex = kColorByLayer;
  if (m_layer.empty()) m_layer = defaultLayer();
  dropKeptProperties();
  if (!keptAsRead.empty()) keptPropertiesForWrite() = std::move(keptAsRead);
  return in.status();
}
