// Erase propagation.
#include "linkage/erase.h"

#include <string>

#include "common/figure_entities.h"
#include "linkage/figure_linkage.h"
#include "linkage/schedule_rows.h"
#include "records/figure_dictionaries.h"
#include "records/record_index.h"

namespace area {
namespace {

void EraseFigureLink(const FigureKindInfo& kind, const AcDbObject* entity, bool erasing) {
  if (FigureRole(entity, kind.application) != kRoleMark) return;
  std::string key;
  FigureRecord* record =
      FindRecordNaming(kind, entity->objectId().handle(), NamedRole::kMark, AcDb::kForRead, &key);
  if (record == nullptr) return;
  const LinkedRecord linked = ReadLinkedRecord(*record);
  record->close();
  UnlinkFigure(kind, key, linked, erasing);
}

}  // namespace

void UnlinkFigure(const FigureKindInfo& kind, const std::string& key, const LinkedRecord& linked,
                  bool erasing) {
  const ValueRules& rules = linked.values.rules;
  for (const AreaDic_STable::Row& row : linked.triangleRows)
    RemoveTriTableRow(row, erasing, rules.digits, rules.rounding);
  for (const AreaDic_Table::Row& row : linked.tableRows)
    RemoveTableRow(row, erasing, rules.digits, rules.rounding);
  RemoveFigureRecord(kind.dictionary, key.c_str(), erasing);
}

void React_EraseTriangle(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(TriangleKindInfo(), entity, erasing);
}
void React_EraseRectangle(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(RectangleKindInfo(), entity, erasing);
}
void React_EraseTrapezoid(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(TrapezoidKindInfo(), entity, erasing);
}
void React_EraseSector(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(SectorKindInfo(), entity, erasing);
}
void React_EraseCircle(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(CircleKindInfo(), entity, erasing);
}
void React_EraseLune(const AcDbObject* entity, bool erasing) {
  EraseFigureLink(LuneKindInfo(), entity, erasing);
}

}  // namespace area
