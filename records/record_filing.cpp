// The four filings of figure records, all driven by the record kind's field declaration.
//
// Writing files the rows that still open and the number actually filed, so a stale row never
// fails a save. Reading collects everything first and changes the record only when the read
// succeeded; it then replaces the row lists (the rows listed before are erased, so re-reading
// through undo neither grows the lists nor leaves orphans) and gives the mark a reactor unless
// it has one. The mark handle is resolved on a copy: a mark that does not resolve at that
// moment (during undo or a clone) keeps its stored handle.
#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "common/handles.h"
#include "records/figure_records.h"
#include "records/mark_reactor.h"

namespace area {

using TriangleRows = std::vector<AreaDic_STable::Row>;
using TableRows = std::vector<AreaDic_Table::Row>;

// What a filing reads or writes besides the record's own members.
struct FiledValues {
  std::array<AcDbHandle, kMaxRecordHandles> handles{};
  std::array<Adesk::Int16, kSettingCount> settings{};
  std::array<Adesk::Int16, 2> rowCounts{};  // by RowListSlot, as read
  TriangleRows triangleRows;
  TableRows tableRows;
};

class RecordFiling {
 public:
  // The record's values with the handles of the rows that open now.
  static FiledValues snapshot(const FigureRecord& record);
  // Makes the read values the record's, with new row objects in place of the old ones; when a
  // row cannot be made the record stays as it was and the status says why.
  static Acad::ErrorStatus commit(FigureRecord& record, FiledValues& values,
                                  AcDbDatabase* filerDatabase);

 private:
  static Acad::ErrorStatus makeRows(const FiledValues& values, AcDbDatabase* database,
                                    AcDbObjectIdArray& triangleRows, AcDbObjectIdArray& tableRows);
  static void rearmMark(const FigureRecord& record, AcDbDatabase* database);
};

namespace {

template <typename RowClass>
std::vector<typename RowClass::Row> RowsThatOpen(const AcDbObjectIdArray& ids) {
  std::vector<typename RowClass::Row> rows;
  for (AcDbObjectId id : ids) {
    RowClass* row = nullptr;
    if (acdbOpenObject(row, id, AcDb::kForRead) != Acad::eOk) continue;
    typename RowClass::Row handles{};
    if (row->getRow(handles) == Acad::eOk) rows.push_back(handles);
    row->close();
  }
  return rows;
}

Adesk::Int16 FiledRowCount(const FiledValues& values, int slot) {
  std::size_t count =
      slot == kTriangleRowsSlot ? values.triangleRows.size() : values.tableRows.size();
  return static_cast<Adesk::Int16>(count);
}

// A count read from a file; a negative one means no rows.
int ReadRowCount(const FiledValues& values, int slot) {
  return values.rowCounts[slot] > 0 ? values.rowCounts[slot] : 0;
}

template <typename Row>
void WriteRows(AcDbDwgFiler* filer, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    for (const AcDbHandle& handle : row) filer->writeAcDbHandle(handle);
}

template <typename Row>
void WriteRows(AcDbDxfFiler* filer, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    for (const AcDbHandle& handle : row) filer->writeAcDbHandle(kDxfRowHandle, handle);
}

template <typename Row>
Acad::ErrorStatus ReadRows(AcDbDwgFiler* filer, int count, std::vector<Row>& rows) {
  for (int i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    Row row{};
    for (AcDbHandle& handle : row) filer->readAcDbHandle(&handle);
    rows.push_back(row);
  }
  return filer->filerStatus();
}

}  // namespace

FiledValues RecordFiling::snapshot(const FigureRecord& record) {
  FiledValues values;
  values.handles = record.m_handles;
  values.settings = record.m_settings;
  values.triangleRows = RowsThatOpen<AreaDic_STable>(record.m_triangleRows);
  values.tableRows = RowsThatOpen<AreaDic_Table>(record.m_tableRows);
  return values;
}

void RecordFiling::rearmMark(const FigureRecord& record, AcDbDatabase* database) {
  AcDbObjectId markId;
  if (!ResolveHandle(record.m_handles[kMarkHandleSlot], markId, database)) return;
  AcDbObject* mark = nullptr;
  if (acdbOpenAcDbObject(mark, markId, AcDb::kForRead) != Acad::eOk) return;
  AttachMarkReactor(mark);
  mark->close();
}

Acad::ErrorStatus RecordFiling::commit(FigureRecord& record, FiledValues& values,
                                       AcDbDatabase* filerDatabase) {
  AcDbDatabase* database = record.rowDatabase(filerDatabase);
  AcDbObjectIdArray triangleRows(0, kRowListGrowth);
  AcDbObjectIdArray tableRows(0, kRowListGrowth);
  if (Acad::ErrorStatus status = makeRows(values, database, triangleRows, tableRows);
      status != Acad::eOk) {
    // A read that could not make every row changes nothing.
    FigureRecord::eraseRows(triangleRows);
    FigureRecord::eraseRows(tableRows);
    return status;
  }
  record.m_handles = values.handles;
  record.m_settings = values.settings;
  rearmMark(record, database);
  FigureRecord::eraseRows(record.m_triangleRows);
  FigureRecord::eraseRows(record.m_tableRows);
  record.m_triangleRows = triangleRows;
  record.m_tableRows = tableRows;
  record.noteHandles();
  return Acad::eOk;
}

Acad::ErrorStatus RecordFiling::makeRows(const FiledValues& values, AcDbDatabase* database,
                                         AcDbObjectIdArray& triangleRows,
                                         AcDbObjectIdArray& tableRows) {
  for (const AreaDic_STable::Row& row : values.triangleRows)
    if (Acad::ErrorStatus status =
            FigureRecord::appendRow<AreaDic_STable>(triangleRows, row, database);
        status != Acad::eOk)
      return status;
  for (const AreaDic_Table::Row& row : values.tableRows)
    if (Acad::ErrorStatus status = FigureRecord::appendRow<AreaDic_Table>(tableRows, row, database);
        status != Acad::eOk)
      return status;
  return Acad::eOk;
}

// Binary filing.

Acad::ErrorStatus FigureRecord::dwgOutFields(AcDbDwgFiler* filer) const {
  if (Acad::ErrorStatus status = AcDbObject::dwgOutFields(filer); status != Acad::eOk)
    return status;
  if (filer->filerType() == AcDb::kWblockCloneFiler) filer->writeHardPointerId(ownerId());
  FiledValues values = RecordFiling::snapshot(*this);
  for (const RecordField& field : layout().fields) {
    switch (field.kind) {
      case FieldKind::kHandle:
        filer->writeAcDbHandle(values.handles[field.slot]);
        break;
      case FieldKind::kSetting:
        filer->writeInt16(values.settings[field.slot]);
        break;
      case FieldKind::kRowCount:
        filer->writeInt16(FiledRowCount(values, field.slot));
        break;
    }
  }
  WriteRows(filer, values.triangleRows);
  WriteRows(filer, values.tableRows);
  return filer->filerStatus();
}

Acad::ErrorStatus FigureRecord::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  if (filer->filerType() == AcDb::kWblockCloneFiler) {
    AcDbObjectId owner;
    filer->readHardPointerId(&owner);
  }
  FiledValues values;
  for (const RecordField& field : layout().fields) {
    switch (field.kind) {
      case FieldKind::kHandle:
        filer->readAcDbHandle(&values.handles[field.slot]);
        break;
      case FieldKind::kSetting:
        filer->readInt16(&values.settings[field.slot]);
        break;
      case FieldKind::kRowCount:
        filer->readInt16(&values.rowCounts[field.slot]);
        break;
    }
  }
  ReadRows(filer, ReadRowCount(values, kTriangleRowsSlot), values.triangleRows);
  ReadRows(filer, ReadRowCount(values, kTableRowsSlot), values.tableRows);
  if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
  if (Acad::ErrorStatus status = RecordFiling::commit(*this, values, filer->database());
      status != Acad::eOk)
    return status;
  return filer->filerStatus();
}

// DXF filing.

Acad::ErrorStatus FigureRecord::dxfOutFields(AcDbDxfFiler* filer) const {
  if (Acad::ErrorStatus status = AcDbObject::dxfOutFields(filer); status != Acad::eOk)
    return status;
  filer->writeString(AcDb::kDxfSubclass, layout().className);
  FiledValues values = RecordFiling::snapshot(*this);
  for (const RecordField& field : layout().fields) {
    switch (field.kind) {
      case FieldKind::kHandle:
        filer->writeAcDbHandle(field.dxfCode, values.handles[field.slot]);
        break;
      case FieldKind::kSetting:
        filer->writeInt16(field.dxfCode, values.settings[field.slot]);
        break;
      case FieldKind::kRowCount:
        filer->writeInt16(field.dxfCode, FiledRowCount(values, field.slot));
        break;
    }
  }
  WriteRows(filer, values.triangleRows);
  WriteRows(filer, values.tableRows);
  return filer->filerStatus();
}

namespace {

// Takes a record's DXF groups one by one: groups 5 fill the handles in field order, the
// numbers go where their group code says, and groups 300 fill the rows up to the counts read
// before them.
class DxfGroupReader {
 public:
  DxfGroupReader(const RecordLayout& layout, FiledValues& values)
      : m_layout(layout), m_values(values) {}

  // False for a group the record kind does not have.
  bool take(const resbuf& item) {
    if (item.restype == kDxfRecordHandle) return takeHandle(TextOf(item));
    if (item.restype == kDxfRowHandle) return takeRowHandle(AcDbHandle(TextOf(item)));
    for (const RecordField& field : m_layout.fields) {
      if (field.dxfCode != item.restype) continue;
      if (field.kind == FieldKind::kSetting) m_values.settings[field.slot] = item.resval.rint;
      if (field.kind == FieldKind::kRowCount) m_values.rowCounts[field.slot] = item.resval.rint;
      return true;
    }
    return false;
  }

 private:
  static const char* TextOf(const resbuf& item) {
    return item.resval.rstring ? item.resval.rstring : "";
  }

  // Handles beyond the last shape handle are ignored.
  bool takeHandle(const char* text) {
    if (m_nextHandle <= m_layout.shapeHandleCount)
      m_values.handles[m_nextHandle++] = AcDbHandle(text);
    return true;
  }

  // Groups beyond the counts are ignored.
  bool takeRowHandle(const AcDbHandle& handle) {
    if (m_layout.hasTriangleRows && fill(m_values.triangleRows, kTriangleRowsSlot, handle))
      return true;
    fill(m_values.tableRows, kTableRowsSlot, handle);
    return true;
  }

  template <typename Row>
  bool fill(std::vector<Row>& rows, int slot, const AcDbHandle& handle) {
    if (static_cast<int>(rows.size()) >= ReadRowCount(m_values, slot)) return false;
    std::vector<AcDbHandle>& pending = m_pending[slot];
    pending.push_back(handle);
    if (pending.size() < std::tuple_size_v<Row>) return true;
    Row row{};
    std::copy(pending.begin(), pending.end(), row.begin());
    rows.push_back(row);
    pending.clear();
    return true;
  }

  const RecordLayout& m_layout;
  FiledValues& m_values;
  int m_nextHandle = kMarkHandleSlot;
  std::array<std::vector<AcDbHandle>, 2> m_pending;  // the row being filled, by RowListSlot
};

}  // namespace

Acad::ErrorStatus FigureRecord::dxfInFields(AcDbDxfFiler* filer) {
  if (AcDbObject::dxfInFields(filer) != Acad::eOk || !filer->atSubclassData(layout().className))
    return filer->filerStatus();
  FiledValues values;
  DxfGroupReader reader(layout(), values);
  resbuf item{};
  for (;;) {
    Acad::ErrorStatus status = filer->readItem(&item);
    if (status == Acad::eEndOfFile) break;
    if (status != Acad::eOk) return status;
    if (!reader.take(item)) {
      filer->pushBackItem();
      filer->setFilerStatus(Acad::eInvalidDxfCode);
      return Acad::eInvalidDxfCode;
    }
  }
  if (Acad::ErrorStatus status = RecordFiling::commit(*this, values, filer->database());
      status != Acad::eOk)
    return status;
  return filer->filerStatus();
}

}  // namespace area
