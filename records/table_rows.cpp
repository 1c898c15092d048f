#include "records/table_rows.h"

#include "records/class_table.h"

namespace area {

AcRxClass* AreaDic_Table::desc() {
  return RecordClassDescriptor(kTableClass);
}
AcRxClass* AreaDic_Table::isA() const {
  return desc();
}

AreaDic_Table::~AreaDic_Table() = default;

Acad::ErrorStatus AreaDic_Table::getRow(Row& row) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  row = m_row;
  return Acad::eOk;
}

Acad::ErrorStatus AreaDic_Table::setRow(const Row& row) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_row = row;
  return Acad::eOk;
}

AcRxClass* AreaDic_STable::desc() {
  return RecordClassDescriptor(kSTableClass);
}
AcRxClass* AreaDic_STable::isA() const {
  return desc();
}

AreaDic_STable::~AreaDic_STable() = default;

Acad::ErrorStatus AreaDic_STable::getRow(Row& row) const {
  if (Acad::ErrorStatus status = assertReadEnabled(); status != Acad::eOk) return status;
  row = m_row;
  return Acad::eOk;
}

Acad::ErrorStatus AreaDic_STable::setRow(const Row& row) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_row = row;
  return Acad::eOk;
}

}  // namespace area
