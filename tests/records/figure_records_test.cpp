// Figure records in memory: accessors, row operations and what a record's end does to its rows.
#include "records/figure_records.h"
#include "drawing_fixture.h"
#include "records/figure_dictionaries.h"

namespace {

using area::AreaDic_Lune;
using area::AreaDic_STable;
using area::AreaDic_Table;
using area::AreaDic_Triangle;

using FigureRecordTest = RecordDrawingTest;

AreaDic_Table::Row TableRowOf(std::uint64_t first) {
  AreaDic_Table::Row row;
  for (AcDbHandle& handle : row) handle = AcDbHandle(first++);
  return row;
}

TEST_F(FigureRecordTest, RowOperationsMakeUnownedRowsAndKeepCountsEqualToLists) {
  auto* triangle = new AreaDic_Triangle;
  ASSERT_EQ(triangle->addTableRow(TableRowOf(0x10)), Acad::eOk);
  ASSERT_EQ(triangle->addTableRow(TableRowOf(0x20)), Acad::eOk);
  ASSERT_EQ(triangle->addTriangleRow(AreaDic_STable::Row{}), Acad::eOk);
  Adesk::Int16 tables = 0, triangles = 0;
  triangle->tableRowCount(tables);
  triangle->triangleRowCount(triangles);
  EXPECT_EQ(tables, 2);
  EXPECT_EQ(triangles, 1);
  AreaDic_Table::Row second;
  EXPECT_EQ(triangle->tableRowAt(1, second), Acad::eOk);
  EXPECT_EQ(second, TableRowOf(0x20));
  EXPECT_EQ(triangle->tableRowAt(2, second), Acad::eInvalidIndex);
  AcDbObjectId row = triangle->tableRowIds()[0];
  EXPECT_EQ(row.database(), database.get());
  EXPECT_STREQ(row.objectClass()->name(), "AreaDic_Table");
  AreaDic_Table* opened = Open<AreaDic_Table>(row, AcDb::kForRead);
  EXPECT_TRUE(opened->ownerId().isNull());
  opened->close();
  delete triangle;
}

TEST_F(FigureRecordTest, RecordDeletedFromMemoryErasesItsRows) {
  auto* triangle = new AreaDic_Triangle;
  triangle->addTriangleRow(AreaDic_STable::Row{});
  triangle->addTableRow(TableRowOf(1));
  triangle->addTableRow(TableRowOf(6));
  AcDbObjectIdArray rows = triangle->tableRowIds();
  rows.append(triangle->triangleRowIds()[0]);
  // A row erased already, or open elsewhere, is left as it is.
  AreaDic_Table* busy = Open<AreaDic_Table>(rows[1], AcDb::kForRead);
  delete triangle;
  EXPECT_TRUE(rows[0].isErased());
  EXPECT_FALSE(rows[1].isErased());
  EXPECT_TRUE(rows[2].isErased());
  busy->close();
}

TEST_F(FigureRecordTest, ClosingTheDrawingOfARecordWithRowsIsSafe) {
  auto* other = new AcDbDatabase(true);
  auto* lune = new AreaDic_Lune;
  acdbHostApplicationServices()->setWorkingDatabase(other);
  lune->addTableRow(TableRowOf(1));
  ASSERT_EQ(area::StoreFigureRecord(area::kDictLune, "2A", lune), 1);
  acdbHostApplicationServices()->setWorkingDatabase(database.get());
  // The record goes with its drawing and must not reach for rows that went before it.
  delete other;
  SUCCEED();
}

}  // namespace
