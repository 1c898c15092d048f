// The row objects of area schedules. A row object holds the handles of one schedule row's
// texts and of the footer texts that sum the rows, so that linkage can rewrite or remove the
// row when its figure changes. Row objects are unowned: their figure record lists them, writes
// their handles with its own data and makes them anew when it is read.
#pragma once

#include <array>

#include "cad/arx.h"

namespace area {

// A row of a schedule in general form.
class AreaDic_Table : public AcDbObject {
  CAD_DECLARE_MEMBERS(AreaDic_Table)

 public:
  // The handles in field order.
  enum Field { kSign, kNumber, kFormula, kArea, kTotal, kFieldCount };
  using Row = std::array<AcDbHandle, kFieldCount>;

  AreaDic_Table() = default;
  explicit AreaDic_Table(const Row& row) : m_row(row) {}
  ~AreaDic_Table() override;

  // Requires the row open for read.
  Acad::ErrorStatus getRow(Row& row) const;
  // For a new row before it is added to a drawing.
  Acad::ErrorStatus setRow(const Row& row);

 private:
  Row m_row{};
};

// A row of a schedule in triangle form; the last three handles are the table's footer texts.
class AreaDic_STable : public AcDbObject {
  CAD_DECLARE_MEMBERS(AreaDic_STable)

 public:
  // The handles in field order.
  enum Field { kSign, kNumber, kBase, kHeight, kDoubleArea, kSum, kHalf, kLandArea, kFieldCount };
  using Row = std::array<AcDbHandle, kFieldCount>;

  AreaDic_STable() = default;
  explicit AreaDic_STable(const Row& row) : m_row(row) {}
  ~AreaDic_STable() override;

  // Requires the row open for read.
  Acad::ErrorStatus getRow(Row& row) const;
  // For a new row before it is added to a drawing.
  Acad::ErrorStatus setRow(const Row& row);

 private:
  Row m_row{};
};

}  // namespace area
