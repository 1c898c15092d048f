// Figure records: one custom object per linked figure, binding the figure's entities (by
// handle), the three value settings it was drawn with, and the schedule rows that list it.
// Records live in their shape's dictionary (records/figure_dictionaries.h) and are saved with
// the drawing in both filings. The outline has no field: its handle is the dictionary key.
#pragma once

#include <array>

#include "cad/arx.h"
#include "records/class_table.h"
#include "records/record_layout.h"
#include "records/table_rows.h"

namespace area {

// Row lists grow in steps of this many ids.
inline constexpr int kRowListGrowth = 8;

// What all six record kinds share; each kind adds only its field declaration and its typed
// handle accessors. The run-time class of every kind has "AcDbObject" as its parent.
//
// Readers require the record open for read, the setting writers open for write (which records
// undo); the handle writers are for new records. Every operation returns a host status.
class FigureRecord : public AcDbObject {
 public:
  ~FigureRecord() override;

  // The field declaration of this record kind.
  virtual const RecordLayout& layout() const = 0;
  // The record behind an object of any of the six kinds, or null.
  static FigureRecord* cast(const AcRxObject* object);

  Acad::ErrorStatus markHandle(AcDbHandle& handle) const;
  Acad::ErrorStatus setMarkHandle(const AcDbHandle& handle);
  // One shape handle by its position in the kind's table (0 = first after the mark).
  int shapeHandleCount() const { return layout().shapeHandleCount; }
  Acad::ErrorStatus shapeHandle(int index, AcDbHandle& handle) const;
  Acad::ErrorStatus setShapeHandle(int index, const AcDbHandle& handle);

  Acad::ErrorStatus unitKind(Adesk::Int16& value) const;
  Acad::ErrorStatus setUnitKind(Adesk::Int16 value);
  Acad::ErrorStatus digits(Adesk::Int16& value) const;
  Acad::ErrorStatus setDigits(Adesk::Int16 value);
  Acad::ErrorStatus rounding(Adesk::Int16& value) const;
  Acad::ErrorStatus setRounding(Adesk::Int16 value);

  // Rows of general-form schedules, in the order they were added.
  Acad::ErrorStatus tableRowCount(Adesk::Int16& count) const;
  // Opens that row object for read and gives its handles.
  Acad::ErrorStatus tableRowAt(int row, AreaDic_Table::Row& handles) const;
  // Makes an unowned row object with the handles in the record's drawing (the working drawing
  // for a record not yet stored) and lists it; the count follows the list.
  Acad::ErrorStatus addTableRow(const AreaDic_Table::Row& handles);
  const AcDbObjectIdArray& tableRowIds() const { return m_tableRows; }

  // Tells the drawing's record index which handles the record names now (records/record_index.h).
  void noteHandles() const;

  // Filing, driven by layout(). Reading replaces the row lists (rows listed before are
  // erased) and gives the mark a reactor unless it has one; writing skips rows that no longer
  // open and writes the number of rows it wrote.
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 protected:
  FigureRecord();

  // Rows of triangle-form schedules; only triangle records have them.
  Acad::ErrorStatus triangleRowCountOf(Adesk::Int16& count) const;
  Acad::ErrorStatus triangleRowAtOf(int row, AreaDic_STable::Row& handles) const;
  Acad::ErrorStatus addTriangleRowOf(const AreaDic_STable::Row& handles);
  const AcDbObjectIdArray& triangleRowIdsOf() const { return m_triangleRows; }

 private:
  friend class RecordFiling;

  Acad::ErrorStatus readHandle(int slot, AcDbHandle& handle) const;
  Acad::ErrorStatus writeHandle(int slot, const AcDbHandle& handle);
  Acad::ErrorStatus readSetting(int slot, Adesk::Int16& value) const;
  Acad::ErrorStatus writeSetting(int slot, Adesk::Int16 value);
  // Where new row objects go: the record's drawing, else `fallback`, else the working one.
  AcDbDatabase* rowDatabase(AcDbDatabase* fallback = nullptr) const;
  // Erases the row objects that still open; while the drawing closes nothing opens.
  static void eraseRows(const AcDbObjectIdArray& rows);
  template <typename RowClass>
  static Acad::ErrorStatus appendRow(AcDbObjectIdArray& rows, const typename RowClass::Row& handles,
                                     AcDbDatabase* database);

  std::array<AcDbHandle, kMaxRecordHandles> m_handles{};  // kMarkHandleSlot, then the shape's
  std::array<Adesk::Int16, kSettingCount> m_settings{};
  AcDbObjectIdArray m_triangleRows;
  AcDbObjectIdArray m_tableRows;
};

// A record kind with N shape handles, read and written all at once in table order.
template <int N>
class ShapeRecord : public FigureRecord {
 public:
  using Handles = std::array<AcDbHandle, N>;

  Acad::ErrorStatus getHandles(Handles& handles) const {
    for (int i = 0; i < N; ++i)
      if (Acad::ErrorStatus status = shapeHandle(i, handles[i]); status != Acad::eOk) return status;
    return Acad::eOk;
  }
  Acad::ErrorStatus setHandles(const Handles& handles) {
    for (int i = 0; i < N; ++i)
      if (Acad::ErrorStatus status = setShapeHandle(i, handles[i]); status != Acad::eOk)
        return status;
    return Acad::eOk;
  }

 protected:
  static_assert(N >= 1 && N < kMaxRecordHandles, "the mark and the shape handles fit a record");
  ShapeRecord() = default;
};

class AreaDic_Triangle : public ShapeRecord<3> {
  CAD_DECLARE_MEMBERS(AreaDic_Triangle)

 public:
  enum Handle { kHeightLine, kBaseText, kHeightText };
  AreaDic_Triangle() = default;
  ~AreaDic_Triangle() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }

  // Rows of triangle-form schedules, as the table rows.
  Acad::ErrorStatus triangleRowCount(Adesk::Int16& count) const {
    return triangleRowCountOf(count);
  }
  Acad::ErrorStatus triangleRowAt(int row, AreaDic_STable::Row& handles) const {
    return triangleRowAtOf(row, handles);
  }
  Acad::ErrorStatus addTriangleRow(const AreaDic_STable::Row& handles) {
    return addTriangleRowOf(handles);
  }
  const AcDbObjectIdArray& triangleRowIds() const { return triangleRowIdsOf(); }
};

class AreaDic_Rectangle : public ShapeRecord<4> {
  CAD_DECLARE_MEMBERS(AreaDic_Rectangle)

 public:
  enum Handle { kRightDiagonal, kLeftDiagonal, kBaseText, kHeightText };
  AreaDic_Rectangle() = default;
  ~AreaDic_Rectangle() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }
};

class AreaDic_Trapezoid : public ShapeRecord<4> {
  CAD_DECLARE_MEMBERS(AreaDic_Trapezoid)

 public:
  enum Handle { kHeightLine, kLowerBaseText, kUpperBaseText, kHeightText };
  AreaDic_Trapezoid() = default;
  ~AreaDic_Trapezoid() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }
};

class AreaDic_Circle : public ShapeRecord<2> {
  CAD_DECLARE_MEMBERS(AreaDic_Circle)

 public:
  enum Handle { kRadiusLine, kRadiusText };
  AreaDic_Circle() = default;
  ~AreaDic_Circle() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }
};

class AreaDic_Sector : public ShapeRecord<5> {
  CAD_DECLARE_MEMBERS(AreaDic_Sector)

 public:
  enum Handle { kStartRadiusLine, kEndRadiusLine, kAngleArc, kRadiusText, kAngleText };
  AreaDic_Sector() = default;
  ~AreaDic_Sector() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }
};

class AreaDic_Lune : public ShapeRecord<8> {
  CAD_DECLARE_MEMBERS(AreaDic_Lune)

 public:
  enum Handle {
    kStartRadiusLine,
    kEndRadiusLine,
    kAngleArc,
    kChordLine,
    kHeightLine,
    kRadiusText,
    kAngleText,
    kChordText
  };
  AreaDic_Lune() = default;
  ~AreaDic_Lune() override;
  static const RecordLayout& Layout();
  const RecordLayout& layout() const override { return Layout(); }
};

}  // namespace area
