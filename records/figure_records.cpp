#include "records/figure_records.h"

#include <limits>
#include <new>

#include "records/class_table.h"
#include "records/record_index.h"

namespace area {
namespace {

// Row counts are filed as 16-bit numbers, so a list stops growing at the largest one.
constexpr int kMaxRows = std::numeric_limits<Adesk::Int16>::max();

template <typename RowClass>
Acad::ErrorStatus RowAt(const AcDbObjectIdArray& rows, int index, typename RowClass::Row& handles) {
  if (index < 0 || index >= rows.length()) return Acad::eInvalidIndex;
  RowClass* row = nullptr;
  if (Acad::ErrorStatus status = acdbOpenObject(row, rows[index], AcDb::kForRead);
      status != Acad::eOk)
    return status;
  Acad::ErrorStatus status = row->getRow(handles);
  row->close();
  return status;
}

}  // namespace

FigureRecord::FigureRecord() : m_triangleRows(0, kRowListGrowth), m_tableRows(0, kRowListGrowth) {}

FigureRecord::~FigureRecord() {
  eraseRows(m_triangleRows);
  eraseRows(m_tableRows);
}

void FigureRecord::eraseRows(const AcDbObjectIdArray& rows) {
  for (AcDbObjectId id : rows) {
    AcDbObject* row = nullptr;
    if (acdbOpenAcDbObject(row, id, AcDb::kForWrite) != Acad::eOk) continue;
    row->erase();
    row->close();
  }
}

FigureRecord* FigureRecord::cast(const AcRxObject* object) {
  return dynamic_cast<FigureRecord*>(const_cast<AcRxObject*>(object));
}

Acad::ErrorStatus FigureRecord::readHandle(int slot, AcDbHandle& handle) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  handle = m_handles[slot];
  return Acad::eOk;
}

Acad::ErrorStatus FigureRecord::writeHandle(int slot, const AcDbHandle& handle) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_handles[slot] = handle;
  noteHandles();
  return Acad::eOk;
}

void FigureRecord::noteHandles() const {
  NoteRecordHandles(objectId(),
                    std::span<const AcDbHandle>(m_handles.data(), 1 + shapeHandleCount()));
}

Acad::ErrorStatus FigureRecord::markHandle(AcDbHandle& handle) const {
  return readHandle(kMarkHandleSlot, handle);
}

Acad::ErrorStatus FigureRecord::setMarkHandle(const AcDbHandle& handle) {
  return writeHandle(kMarkHandleSlot, handle);
}

Acad::ErrorStatus FigureRecord::shapeHandle(int index, AcDbHandle& handle) const {
  if (index < 0 || index >= shapeHandleCount()) return Acad::eInvalidIndex;
  return readHandle(kMarkHandleSlot + 1 + index, handle);
}

Acad::ErrorStatus FigureRecord::setShapeHandle(int index, const AcDbHandle& handle) {
  if (index < 0 || index >= shapeHandleCount()) return Acad::eInvalidIndex;
  return writeHandle(kMarkHandleSlot + 1 + index, handle);
}

Acad::ErrorStatus FigureRecord::readSetting(int slot, Adesk::Int16& value) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  value = m_settings[slot];
  return Acad::eOk;
}

Acad::ErrorStatus FigureRecord::writeSetting(int slot, Adesk::Int16 value) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_settings[slot] = value;
  return Acad::eOk;
}

Acad::ErrorStatus FigureRecord::unitKind(Adesk::Int16& value) const {
  return readSetting(kUnitKindSlot, value);
}
Acad::ErrorStatus FigureRecord::setUnitKind(Adesk::Int16 value) {
  return writeSetting(kUnitKindSlot, value);
}
Acad::ErrorStatus FigureRecord::digits(Adesk::Int16& value) const {
  return readSetting(kDigitsSlot, value);
}
Acad::ErrorStatus FigureRecord::setDigits(Adesk::Int16 value) {
  return writeSetting(kDigitsSlot, value);
}
Acad::ErrorStatus FigureRecord::rounding(Adesk::Int16& value) const {
  return readSetting(kRoundingSlot, value);
}
Acad::ErrorStatus FigureRecord::setRounding(Adesk::Int16 value) {
  return writeSetting(kRoundingSlot, value);
}

Acad::ErrorStatus FigureRecord::tableRowCount(Adesk::Int16& count) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  count = static_cast<Adesk::Int16>(m_tableRows.length());
  return Acad::eOk;
}

Acad::ErrorStatus FigureRecord::tableRowAt(int row, AreaDic_Table::Row& handles) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  return RowAt<AreaDic_Table>(m_tableRows, row, handles);
}

Acad::ErrorStatus FigureRecord::triangleRowCountOf(Adesk::Int16& count) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  count = static_cast<Adesk::Int16>(m_triangleRows.length());
  return Acad::eOk;
}

Acad::ErrorStatus FigureRecord::triangleRowAtOf(int row, AreaDic_STable::Row& handles) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  return RowAt<AreaDic_STable>(m_triangleRows, row, handles);
}

AcDbDatabase* FigureRecord::rowDatabase(AcDbDatabase* fallback) const {
  if (database() != nullptr) return database();
  if (fallback != nullptr) return fallback;
  return acdbHostApplicationServices()->workingDatabase();
}

template <typename RowClass>
Acad::ErrorStatus FigureRecord::appendRow(AcDbObjectIdArray& rows,
                                          const typename RowClass::Row& handles,
                                          AcDbDatabase* database) {
  if (rows.length() >= kMaxRows) return Acad::eInvalidIndex;
  if (database == nullptr) return Acad::eNoDatabase;
  auto* row = new (std::nothrow) RowClass(handles);
  if (row == nullptr) return Acad::eOutOfMemory;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = database->addAcDbObject(id, row); status != Acad::eOk) {
    delete row;
    return status;
  }
  row->close();
  if (!id.isNull()) rows.append(id);
  return Acad::eOk;
}

template Acad::ErrorStatus FigureRecord::appendRow<AreaDic_Table>(AcDbObjectIdArray&,
                                                                  const AreaDic_Table::Row&,
                                                                  AcDbDatabase*);
template Acad::ErrorStatus FigureRecord::appendRow<AreaDic_STable>(AcDbObjectIdArray&,
                                                                   const AreaDic_STable::Row&,
                                                                   AcDbDatabase*);

Acad::ErrorStatus FigureRecord::addTableRow(const AreaDic_Table::Row& handles) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  return appendRow<AreaDic_Table>(m_tableRows, handles, rowDatabase());
}

Acad::ErrorStatus FigureRecord::addTriangleRowOf(const AreaDic_STable::Row& handles) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  return appendRow<AreaDic_STable>(m_triangleRows, handles, rowDatabase());
}

#define AREA_DEFINE_RECORD_CLASS(CLASS_NAME, INDEX) \
  AcRxClass* CLASS_NAME::desc() {                   \
    return RecordClassDescriptor(INDEX);            \
  }                                                 \
  AcRxClass* CLASS_NAME::isA() const {              \
    return desc();                                  \
  }                                                 \
  CLASS_NAME::~CLASS_NAME() = default;

AREA_DEFINE_RECORD_CLASS(AreaDic_Triangle, kTriangleClass)
AREA_DEFINE_RECORD_CLASS(AreaDic_Rectangle, kRectangleClass)
AREA_DEFINE_RECORD_CLASS(AreaDic_Trapezoid, kTrapezoidClass)
AREA_DEFINE_RECORD_CLASS(AreaDic_Circle, kCircleClass)
AREA_DEFINE_RECORD_CLASS(AreaDic_Sector, kSectorClass)
AREA_DEFINE_RECORD_CLASS(AreaDic_Lune, kLuneClass)

#undef AREA_DEFINE_RECORD_CLASS

}  // namespace area
