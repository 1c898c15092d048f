#include "files/dxf_symbols.h"

#include <algorithm>
#include <cstdlib>

#include "db/object_access.h"
#include "files/dxf_fields.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

constexpr const char* kRecordMarker = "AcDbSymbolTableRecord";
// Layer flags (group 70) and the sign of its colour (group 62) for "off".
constexpr Adesk::Int16 kLayerFrozen = 1;
constexpr Adesk::Int16 kLayerLocked = 4;
// Dictionary groups: 280 whether entries are hard-owned, 281 duplicate-key cloning.
constexpr int kHardOwnerCode = 280;
constexpr int kCloningCode = 281;
constexpr int kKeyCode = 3;
// Group groups.
constexpr int kDescriptionCode = 300;
constexpr int kUnnamedCode = 70;
constexpr int kSelectableCode = 71;

void WriteRecordStart(AcDbDxfFiler* filer, const AcDbSymbolTableRecord* record,
                      const char* marker) {
  record->AcDbObject::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, kRecordMarker);
  filer->writeString(AcDb::kDxfSubclass, marker);
  filer->writeString(AcDb::kDxfBlockName, record->getNameConst());
}

// Reads a record's groups: the base fields, then each group of its subclass to `take`.
template <typename Take>
Acad::ErrorStatus ReadRecord(AcDbDxfFiler* filer, AcDbSymbolTableRecord* record, const char* marker,
                             Take take) {
  if (Acad::ErrorStatus status = record->AcDbObject::dxfInFields(filer); status != Acad::eOk)
    return status;
  SubclassGroups common(filer, kRecordMarker);
  while (common.next()) {
    if (common.code() == AcDb::kDxfBlockName) ObjectAccess::setRecordName(record, common.text());
  }
  SubclassGroups in(filer, marker);
  while (in.next()) {
    if (in.code() == AcDb::kDxfBlockName) ObjectAccess::setRecordName(record, in.text());
    take(in);
  }
  return in.status();
}

}  // namespace

void WriteLayerRecord(AcDbDxfFiler* filer, const AcDbLayerTableRecord* layer) {
  WriteRecordStart(filer, layer, "AcDbLayerTableRecord");
  Adesk::Int16 flags =
      (layer->isFrozen() ? kLayerFrozen : 0) | (layer->isLocked() ? kLayerLocked : 0);
  filer->writeInt16(70, flags);
  Adesk::Int16 color = static_cast<Adesk::Int16>(layer->colorIndex());
  filer->writeInt16(62, layer->isOff() ? static_cast<Adesk::Int16>(-color) : color);
  filer->writeString(6, layer->linetypeName());
}

Acad::ErrorStatus ReadLayerRecord(AcDbDxfFiler* filer, AcDbLayerTableRecord* layer) {
  return ReadRecord(filer, layer, "AcDbLayerTableRecord", [&](const SubclassGroups& in) {
    const resbuf& item = in.item();
    switch (in.code()) {
      case 70:
        layer->setIsFrozen((item.resval.rint & kLayerFrozen) != 0);
        layer->setIsLocked((item.resval.rint & kLayerLocked) != 0);
        break;
      case 62: {
        int color = item.resval.rint;
        layer->setIsOff(color < 0);
        color = std::abs(color);
        // Layer colours are 1 to 255; anything else is the default white.
        layer->setColorIndex(static_cast<Adesk::UInt16>(color >= 1 && color <= 255 ? color : 7));
        break;
      }
      case 6:
        layer->setLinetypeName(in.text());
        break;
      default:
        break;
    }
  });
}

void WriteBlockRecord(AcDbDxfFiler* filer, const AcDbBlockTableRecord* block,
                      const std::string& layout) {
  WriteRecordStart(filer, block, "AcDbBlockTableRecord");
  if (!layout.empty()) filer->writeString(AcDb::kDxfHardPointerId, layout);
  filer->writeInt16(70, 0);   // insertion units: unitless
  filer->writeInt16(280, 1);  // explodable
  filer->writeInt16(281, 0);  // scaled uniformly or not
}

Acad::ErrorStatus ReadBlockRecord(AcDbDxfFiler* filer, AcDbBlockTableRecord* block,
                                  std::string& layout) {
  layout.clear();
  return ReadRecord(filer, block, "AcDbBlockTableRecord", [&](const SubclassGroups& in) {
    if (in.code() == AcDb::kDxfHardPointerId && !in.id().isNull()) layout = in.id().handle().text();
  });
}

void WriteRegAppRecord(AcDbDxfFiler* filer, const AcDbRegAppTableRecord* application) {
  WriteRecordStart(filer, application, "AcDbRegAppTableRecord");
  filer->writeInt16(70, 0);
}

Acad::ErrorStatus ReadRegAppRecord(AcDbDxfFiler* filer, AcDbRegAppTableRecord* application) {
  return ReadRecord(filer, application, "AcDbRegAppTableRecord", [](const SubclassGroups&) {});
}

void WriteDictionary(AcDbDxfFiler* filer, const AcDbDictionary* dictionary,
                     const SavedObjects& saved) {
  dictionary->AcDbObject::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbDictionary");
  bool hard = dictionary->treatElementsAsHard();
  if (hard) filer->writeInt16(kHardOwnerCode, 1);
  filer->writeInt16(kCloningCode, AcDb::kDrcIgnore);
  for (const auto& [key, id] : dictionary->entries()) {
    if (!saved.isSaved(id)) continue;
    filer->writeString(kKeyCode, key);
    filer->writeObjectId(hard ? AcDb::kDxfHardOwnershipId : AcDb::kDxfSoftOwnershipId, id);
  }
}

Acad::ErrorStatus ReadDictionary(AcDbDxfFiler* filer, AcDbDictionary* dictionary) {
  if (Acad::ErrorStatus status = dictionary->AcDbObject::dxfInFields(filer); status != Acad::eOk)
    return status;
  SubclassGroups in(filer, "AcDbDictionary");
  std::string key;
  bool haveKey = false;
  while (in.next()) {
    switch (in.code()) {
      case kHardOwnerCode:
        dictionary->setTreatElementsAsHard(in.item().resval.rint != 0);
        break;
      case kKeyCode:
        key = in.text();
        haveKey = true;
        break;
      case AcDb::kDxfSoftOwnershipId:
      case AcDb::kDxfHardOwnershipId:
        // An entry without its key, or a key without an object, is dropped.
        if (haveKey && !in.id().isNull())
          ObjectAccess::addDictionaryEntry(dictionary, key, in.id());
        haveKey = false;
        break;
      default:
        break;
    }
  }
  return in.status();
}

void WriteGroup(AcDbDxfFiler* filer, const AcDbGroup* group, const SavedObjects& saved) {
  group->AcDbObject::dxfOutFields(filer);
  filer->writeString(AcDb::kDxfSubclass, "AcDbGroup");
  filer->writeString(kDescriptionCode, group->description());
  filer->writeInt16(kUnnamedCode, group->isAnonymous() ? 1 : 0);
  filer->writeInt16(kSelectableCode, group->isSelectable() ? 1 : 0);
  for (AcDbObjectId id : group->memberIds())
    if (saved.isSaved(id)) filer->writeObjectId(AcDb::kDxfHardPointerId, id);
}

Acad::ErrorStatus ReadGroup(AcDbDxfFiler* filer, AcDbGroup* group) {
  if (Acad::ErrorStatus status = group->AcDbObject::dxfInFields(filer); status != Acad::eOk)
    return status;
  SubclassGroups in(filer, "AcDbGroup");
  auto& members = ObjectAccess::groupMembers(group);
  while (in.next()) {
    switch (in.code()) {
      case kDescriptionCode:
        group->setDescription(in.text());
        break;
      case kSelectableCode:
        group->setSelectable(in.item().resval.rint != 0);
        break;
      case AcDb::kDxfHardPointerId:
        if (!in.id().isNull() &&
            std::find(members.begin(), members.end(), in.id()) == members.end())
          members.push_back(in.id());
        break;
      default:
        break;
    }
  }
  return in.status();
}

}  // namespace tessera::files
