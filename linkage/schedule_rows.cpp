// Refreshing and removing schedule rows.
#include "linkage/schedule_rows.h"

#include <optional>

#include "common/figure_entities.h"
#include "common/handles.h"
#include "common/text_values.h"
#include "common/value_format.h"
#include "schedule/row_texts.h"

namespace area {
namespace {

// The footer's half of the triangle form is half the sum.
constexpr double kHalf = 0.5;

// Erases the text a handle names, when it still resolves and opens.
void EraseByHandle(AcDbHandle handle, bool erasing) {
  AcDbObjectId id;
  if (HandleToId(handle, id)) EraseObject(id, erasing);
}

// The number a text shows, read and then erased; nothing when it does not resolve or open.
std::optional<double> TakeTextValue(AcDbHandle handle, bool erasing) {
  std::optional<std::string> text = ReadTextByHandle(handle);
  if (!text) return std::nullopt;
  EraseByHandle(handle, erasing);
  return ReadDecimal(*text);
}

void SetText(AcDbHandle handle, const std::string& text) {
  SetTextByHandle(handle, text);
}

// Writes half the footer sum, rounded, into the half and land-area texts.
void WriteHalves(const AreaDic_STable::Row& row, int digits, int rounding) {
  AcDbHandle sum = row[AreaDic_STable::kSum];
  std::optional<std::string> sumText = ReadTextByHandle(sum);
  if (!sumText) return;
  const std::string half = HalfOfSum(*sumText, digits, rounding);
  SetText(row[AreaDic_STable::kHalf], half);
  SetText(row[AreaDic_STable::kLandArea], half);
}

void AdjustText(AcDbHandle handle, double x, int digits, int rounding) {
  AdjustTextValue(handle, x, digits, rounding);
}

}  // namespace

FreshTableRow FreshTableRowTexts(int shapeCode, const std::string& label,
                                 const std::string& valueList, bool negative) {
  FreshTableRow row{RowSignText(negative), label, std::nullopt, std::nullopt};
  if (const std::optional<Formula> formula = ComposeFormula(shapeCode, valueList)) {
    row.formula = formula->formula;
    row.area = SignedRowValue(negative, formula->area);
  }
  return row;
}

std::optional<FreshTriRow> FreshTriRowTexts(const std::string& label,
                                            const std::vector<std::string>& values, bool negative) {
  if (values.size() < 3) return std::nullopt;
  return FreshTriRow{RowSignText(negative), label, values[0], values[1],
                     SignedRowValue(negative, values[2])};
}

std::string HalfOfSum(const std::string& sumText, int digits, int rounding) {
  double half = ReadDecimal(sumText) * kHalf;
  RoundValue(digits, rounding, half);
  return FormatValue(digits, half);
}

void RefreshTableRow(int shapeCode, const AreaDic_Table::Row& row, const std::string& label,
                     const std::string& valueList, bool negative, int digits, int rounding) {
  const FreshTableRow fresh = FreshTableRowTexts(shapeCode, label, valueList, negative);
  SetText(row[AreaDic_Table::kSign], fresh.sign);
  SetText(row[AreaDic_Table::kNumber], fresh.number);
  if (!fresh.formula) return;
  SetText(row[AreaDic_Table::kFormula], *fresh.formula);
  AcDbHandle areaHandle = row[AreaDic_Table::kArea];
  const std::optional<double> previous = ReplaceTextValue(areaHandle, *fresh.area);
  if (previous)
    AdjustText(row[AreaDic_Table::kTotal], *previous - ReadDecimal(*fresh.area), digits, rounding);
}

void RefreshTriTableRow(const AreaDic_STable::Row& row, const std::string& label,
                        const std::vector<std::string>& values, bool negative, int digits,
                        int rounding) {
  const std::optional<FreshTriRow> fresh = FreshTriRowTexts(label, values, negative);
  if (!fresh) return;
  SetText(row[AreaDic_STable::kSign], fresh->sign);
  SetText(row[AreaDic_STable::kNumber], fresh->number);
  SetText(row[AreaDic_STable::kBase], fresh->base);
  SetText(row[AreaDic_STable::kHeight], fresh->height);
  AcDbHandle doubleAreaHandle = row[AreaDic_STable::kDoubleArea];
  const std::optional<double> previous = ReplaceTextValue(doubleAreaHandle, fresh->doubleArea);
  if (!previous) return;
  AdjustText(row[AreaDic_STable::kSum], *previous - ReadDecimal(fresh->doubleArea), digits,
             rounding);
  WriteHalves(row, digits, rounding);
}

void RemoveTableRow(const AreaDic_Table::Row& row, bool erasing, int digits, int rounding) {
  for (int field : {AreaDic_Table::kSign, AreaDic_Table::kNumber, AreaDic_Table::kFormula})
    EraseByHandle(row[field], erasing);
  const std::optional<double> area = TakeTextValue(row[AreaDic_Table::kArea], erasing);
  if (area) AdjustText(row[AreaDic_Table::kTotal], *area, digits, rounding);
}

void RemoveTriTableRow(const AreaDic_STable::Row& row, bool erasing, int digits, int rounding) {
  for (int field : {AreaDic_STable::kSign, AreaDic_STable::kNumber, AreaDic_STable::kBase,
                    AreaDic_STable::kHeight})
    EraseByHandle(row[field], erasing);
  const std::optional<double> doubleArea = TakeTextValue(row[AreaDic_STable::kDoubleArea], erasing);
  if (!doubleArea) return;
  AdjustText(row[AreaDic_STable::kSum], *doubleArea, digits, rounding);
  double half = *doubleArea * kHalf;
  RoundValue(digits, rounding, half);
  AdjustText(row[AreaDic_STable::kHalf], half, digits, rounding);
  AdjustText(row[AreaDic_STable::kLandArea], half, digits, rounding);
}

}  // namespace area
