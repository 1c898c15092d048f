// The record dump.
#include "maintenance/record_dump.h"

#include <array>
#include <memory>

#include "cad/arx.h"
#include "common/handles.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"

namespace area {
namespace {

// The dictionaries in the order of the dump, each with the layout of its records, whose title
// is printed even when the dictionary holds no record.
struct DumpedShape {
  const char* dictionary;
  const RecordLayout& (*layout)();
};
constexpr std::array<DumpedShape, 6> kDumpedShapes = {{
    {kDictTriangle, &AreaDic_Triangle::Layout},
    {kDictRectangle, &AreaDic_Rectangle::Layout},
    {kDictTrapezoid, &AreaDic_Trapezoid::Layout},
    {kDictCircle, &AreaDic_Circle::Layout},
    {kDictSector, &AreaDic_Sector::Layout},
    {kDictLune, &AreaDic_Lune::Layout},
}};

Adesk::Int16 SettingOf(const FigureRecord& record, int slot) {
  Adesk::Int16 value = 0;
  if (slot == kUnitKindSlot)
    record.unitKind(value);
  else if (slot == kDigitsSlot)
    record.digits(value);
  else
    record.rounding(value);
  return value;
}

void PrintField(const FigureRecord& record, const RecordField& field) {
  if (field.kind == FieldKind::kSetting) {
    acutPrintf(field.dumpLine, static_cast<int>(SettingOf(record, field.slot)));
    return;
  }
  AcDbHandle handle;
  if (field.slot == kMarkHandleSlot)
    record.markHandle(handle);
  else
    record.shapeHandle(field.slot - 1, handle);
  acutPrintf(field.dumpLine, HandleText(handle).c_str());
}

// One entry: its key, the fields in the dump's order, the closing line; nothing when the
// entry's object does not open as a figure record.
void PrintEntry(const char* key, AcDbObjectId recordId) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, recordId, AcDb::kForRead) != Acad::eOk) return;
  if (const FigureRecord* record = FigureRecord::cast(object)) {
    acutPrintf(kDumpEntryKey, key);
    const RecordLayout& layout = record->layout();
    for (int index : layout.dumpOrder) PrintField(*record, layout.fields[index]);
    acutPrintf("%s", kDumpEntryEnd);
  }
  object->close();
}

void PrintShape(const DumpedShape& shape) {
  const std::unique_ptr<AcDbDictionaryIterator> entries = ShapeDictionaryEntries(shape.dictionary);
  if (entries == nullptr) return;
  acutPrintf("%s%s%s", kDumpBanner, shape.layout().dumpTitle, kDumpBanner);
  for (; !entries->done(); entries->next()) PrintEntry(entries->name(), entries->objectId());
}

}  // namespace

int RunAreaDicChk() {
  for (const DumpedShape& shape : kDumpedShapes) PrintShape(shape);
  return RTNORM;
}

}  // namespace area
