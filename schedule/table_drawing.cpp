// Drawing linked area schedules in triangle and general form.
#include "schedule/table_drawing.h"

#include "schedule/row_texts.h"

#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/marks.h"
#include "common/text_values.h"
#include "common/value_format.h"
#include "records/figure_kinds.h"
#include "records/figure_records.h"

namespace area {
namespace {

// Footer texts start as this and get their totals once every row is drawn.
constexpr const char* kInitialTotal = "0.0";
constexpr const char* kSumLabel = "計";
constexpr const char* kHalfLabel = "１／２";
constexpr const char* kLandAreaLabel = "地積";
constexpr double kHalf = 0.5;

// A triangle's value list "( base height double-area area )" split at blanks: it has at least
// these many tokens, and these are the ones shown.
constexpr std::size_t kTriangleListTokens = 5;
constexpr std::size_t kBaseToken = 1;
constexpr std::size_t kHeightToken = 2;
constexpr std::size_t kDoubleAreaToken = 3;

using LinePoints = std::pair<int, int>;

constexpr std::array<LinePoints, 6> kTriangleRowLines = {{
    {kTriRowLeftTop, kTriRowLeftBottom},
    {kTriRowNumberEndTop, kTriRowNumberEndBottom},
    {kTriRowBaseEndTop, kTriRowBaseEndBottom},
    {kTriRowHeightEndTop, kTriRowHeightEndBottom},
    {kTriRowRightTop, kTriRowRightBottom},
    {kTriRowLeftBottom, kTriRowRightBottom},
}};

// The number column's divider spans only the sum and half rows.
constexpr std::array<LinePoints, 6> kTriangleFooterLines = {{
    {kTriFootLeft0, kTriFootLeft3},
    {kTriFootDivider0, kTriFootDivider2},
    {kTriFootRight0, kTriFootRight3},
    {kTriFootLeft1, kTriFootRight1},
    {kTriFootLeft2, kTriFootRight2},
    {kTriFootLeft3, kTriFootRight3},
}};

constexpr std::array<LinePoints, 5> kGeneralRowLines = {{
    {kGenRowLeftTop, kGenRowLeftBottom},
    {kGenRowNumberEndTop, kGenRowNumberEndBottom},
    {kGenRowFormulaEndTop, kGenRowFormulaEndBottom},
    {kGenRowRightTop, kGenRowRightBottom},
    {kGenRowLeftBottom, kGenRowRightBottom},
}};

constexpr std::array<LinePoints, 3> kGeneralFooterLines = {{
    {kGenFootLeftTop, kGenFootLeftBottom},
    {kGenFootRightTop, kGenFootRightBottom},
    {kGenFootLeftBottom, kGenFootRightBottom},
}};

// The record class that belongs to a mark's kind; null for a kind outside 1 to 6.
AcRxClass* RecordClassOfKind(int kind) {
  const FigureKindInfo* info = KindByShapeCode(kind);
  return info != nullptr ? RecordClassDescriptor(info->recordClass) : nullptr;
}

// Opens the record for write when it really is of `recordClass`: a mark whose KT was edited
// must not put its row into another shape's record. Null otherwise, nothing left open.
FigureRecord* OpenRecordOfClass(AcDbObjectId recordId, const AcRxClass* recordClass) {
  AcDbObject* object = nullptr;
  if (recordClass == nullptr || acdbOpenAcDbObject(object, recordId, AcDb::kForWrite) != Acad::eOk)
    return nullptr;
  FigureRecord* record = FigureRecord::cast(object);
  if (record == nullptr || object->isA() != recordClass) {
    object->close();
    return nullptr;
  }
  return record;
}

bool AddTriangleRow(AcDbObjectId recordId, const AreaDic_STable::Row& row) {
  FigureRecord* record = OpenRecordOfClass(recordId, AreaDic_Triangle::desc());
  if (record == nullptr) return false;
  const Acad::ErrorStatus status = static_cast<AreaDic_Triangle*>(record)->addTriangleRow(row);
  record->close();
  return status == Acad::eOk;
}

bool AddTableRow(AcDbObjectId recordId, int kind, const AreaDic_Table::Row& row) {
  FigureRecord* record = OpenRecordOfClass(recordId, RecordClassOfKind(kind));
  if (record == nullptr) return false;
  const Acad::ErrorStatus status = record->addTableRow(row);
  record->close();
  return status == Acad::eOk;
}

bool IsDeducted(const MarkEntry& entry) {
  return entry.sign == kNegativeSign;
}

// A row's value with the entry's sign in front when the figure is deducted.
std::string SignedValue(const MarkEntry& entry, const std::string& value) {
  return SignedRowValue(IsDeducted(entry), value);
}

// Draws one table: the layout first, then entities in order, keeping the running total.
class TableDrawer {
 public:
  TableDrawer(const std::vector<MarkEntry>& entries, const TableStyle& style)
      : m_entries(entries),
        m_style(style),
        m_layout(TableLayout(style.form, style.frame, entries.size())) {}

  bool drawTriangleForm();
  bool drawGeneralForm();

 private:
  const AcGePoint3d& rowPoint(std::size_t row, int index) const {
    return RowPoint(m_layout, m_style.form, row, index);
  }
  const AcGePoint3d& footerPoint(int index) const {
    return FooterPoint(m_layout, m_style.form, m_entries.size(), index);
  }
  bool line(const AcGePoint3d& from, const AcGePoint3d& to) const;
  template <std::size_t N>
  bool rowLines(std::size_t row, const std::array<LinePoints, N>& lines) const;
  template <std::size_t N>
  bool footerLines(const std::array<LinePoints, N>& lines) const;
  // The text's handle; the null handle when the host refused it.
  AcDbHandle makeText(const AcGePoint3d& at, const std::string& text,
                      AcDb::TextHorzMode mode) const;
  // Makes a text at a row point and keeps its handle in `field`; false when refused.
  bool rowText(std::size_t row, int point, const std::string& text, AcDb::TextHorzMode mode,
               AcDbHandle& field) const;
  bool signAndNumber(std::size_t row, int signPoint, int numberPoint, AcDbHandle& sign,
                     AcDbHandle& number) const;
  // Makes a text at a footer point, and keeps its handle in `field` when given.
  bool footerText(int point, const std::string& text, AcDb::TextHorzMode mode,
                  AcDbHandle* field = nullptr) const;
  bool unitText(int point) const;
  std::string totalText(double value) const;

  bool triangleRow(std::size_t row, AreaDic_STable::Row& handles);
  bool triangleFooter(AreaDic_STable::Row& footer);
  bool generalRow(std::size_t row, AreaDic_Table::Row& handles);
  bool generalFooter(AcDbHandle& total);

  const std::vector<MarkEntry>& m_entries;
  const TableStyle& m_style;
  const std::vector<AcGePoint3d> m_layout;
  double m_sum = 0.0;  // of the rows' signed values as shown
};

bool TableDrawer::line(const AcGePoint3d& from, const AcGePoint3d& to) const {
  const AcDbObjectId id = MakeLine(from, to, OnLayer(m_style.lineLayer));
  if (id.isNull()) return false;
  TagEntity(id, kScheduleApp, kRoleScheduleLine);
  return true;
}

template <std::size_t N>
bool TableDrawer::rowLines(std::size_t row, const std::array<LinePoints, N>& lines) const {
  for (const auto& [from, to] : lines)
    if (!line(rowPoint(row, from), rowPoint(row, to))) return false;
  return true;
}

template <std::size_t N>
bool TableDrawer::footerLines(const std::array<LinePoints, N>& lines) const {
  for (const auto& [from, to] : lines)
    if (!line(footerPoint(from), footerPoint(to))) return false;
  return true;
}

AcDbHandle TableDrawer::makeText(const AcGePoint3d& at, const std::string& text,
                                 AcDb::TextHorzMode mode) const {
  TextDraft draft;
  draft.position = at;
  draft.text = text;
  draft.horizontalMode = mode;
  draft.verticalMode = AcDb::kTextBottom;
  const AcDbObjectId id = MakeText(draft, OnLayer(m_style.textLayer));
  if (id.isNull()) return AcDbHandle();
  TagEntity(id, kScheduleApp, kRoleScheduleText);
  return id.handle();
}

bool TableDrawer::rowText(std::size_t row, int point, const std::string& text,
                          AcDb::TextHorzMode mode, AcDbHandle& field) const {
  field = makeText(rowPoint(row, point), text, mode);
  return !field.isNull();
}

// The sign (empty unless deducted) and the number, alike in both forms.
bool TableDrawer::signAndNumber(std::size_t row, int signPoint, int numberPoint, AcDbHandle& sign,
                                AcDbHandle& number) const {
  const MarkEntry& entry = m_entries[row];
  return rowText(row, signPoint, RowSignText(IsDeducted(entry)), AcDb::kTextLeft, sign) &&
         rowText(row, numberPoint, entry.number, AcDb::kTextCenter, number);
}

bool TableDrawer::footerText(int point, const std::string& text, AcDb::TextHorzMode mode,
                             AcDbHandle* field) const {
  const AcDbHandle handle = makeText(footerPoint(point), text, mode);
  if (field != nullptr) *field = handle;
  return !handle.isNull();
}

// Unit kinds without a unit text draw nothing.
bool TableDrawer::unitText(int point) const {
  const std::string unit = TableUnitText(m_style.frame.unitKind);
  return unit.empty() || footerText(point, unit, AcDb::kTextRight);
}

std::string TableDrawer::totalText(double value) const {
  RoundValue(m_style.digits, m_style.rounding, value);
  return FormatValue(m_style.digits, value);
}

bool TableDrawer::triangleRow(std::size_t row, AreaDic_STable::Row& handles) {
  const MarkEntry& entry = m_entries[row];
  if (!rowLines(row, kTriangleRowLines) ||
      !signAndNumber(row, kTriRowSignText, kTriRowNumberText, handles[AreaDic_STable::kSign],
                     handles[AreaDic_STable::kNumber]))
    return false;
  const std::vector<std::string> tokens = SplitTokens(entry.valueList, ' ');
  if (tokens.size() < kTriangleListTokens) return false;
  if (!FitsInNumber(tokens[kDoubleAreaToken])) return false;
  const std::string doubleArea = SignedValue(entry, tokens[kDoubleAreaToken]);
  if (!rowText(row, kTriRowBaseText, tokens[kBaseToken], AcDb::kTextRight,
               handles[AreaDic_STable::kBase]) ||
      !rowText(row, kTriRowHeightText, tokens[kHeightToken], AcDb::kTextRight,
               handles[AreaDic_STable::kHeight]) ||
      !rowText(row, kTriRowDoubleAreaText, doubleArea, AcDb::kTextRight,
               handles[AreaDic_STable::kDoubleArea]))
    return false;
  m_sum += ReadDecimal(doubleArea);
  return AddTriangleRow(entry.recordId, handles);
}

// The totals: the sum rounded, its half from the rounded text, the land area equal to the half.
bool TableDrawer::triangleFooter(AreaDic_STable::Row& footer) {
  if (!std::isfinite(m_sum) || !footerLines(kTriangleFooterLines)) return false;
  const std::string sum = totalText(m_sum);
  if (!footerText(kTriFootSumLabel, kSumLabel, AcDb::kTextCenter)) return false;
  SetTextByHandle(footer[AreaDic_STable::kSum], sum);
  const std::string half = totalText(ReadDecimal(sum) * kHalf);
  if (!footerText(kTriFootHalfLabel, kHalfLabel, AcDb::kTextCenter)) return false;
  SetTextByHandle(footer[AreaDic_STable::kHalf], half);
  if (!footerText(kTriFootLandLabel, kLandAreaLabel, AcDb::kTextCenter)) return false;
  SetTextByHandle(footer[AreaDic_STable::kLandArea], half);
  return unitText(kTriFootUnitText);
}

// The footer's value texts come first, so that every row can name them.
bool TableDrawer::drawTriangleForm() {
  AreaDic_STable::Row footer{};
  if (!footerText(kTriFootSumValue, kInitialTotal, AcDb::kTextRight,
                  &footer[AreaDic_STable::kSum]) ||
      !footerText(kTriFootHalfValue, kInitialTotal, AcDb::kTextRight,
                  &footer[AreaDic_STable::kHalf]) ||
      !footerText(kTriFootLandValue, kInitialTotal, AcDb::kTextRight,
                  &footer[AreaDic_STable::kLandArea]))
    return false;
  for (std::size_t row = 0; row < m_entries.size(); ++row) {
    AreaDic_STable::Row handles = footer;
    if (!triangleRow(row, handles)) return false;
  }
  return triangleFooter(footer);
}

bool TableDrawer::generalRow(std::size_t row, AreaDic_Table::Row& handles) {
  const MarkEntry& entry = m_entries[row];
  if (!rowLines(row, kGeneralRowLines) ||
      !signAndNumber(row, kGenRowSignText, kGenRowNumberText, handles[AreaDic_Table::kSign],
                     handles[AreaDic_Table::kNumber]))
    return false;
  const std::optional<Formula> formula = ComposeFormula(entry.kind, entry.valueList);
  if (!formula) return false;
  const std::string area = SignedValue(entry, formula->area);
  if (!rowText(row, kGenRowFormulaText, formula->formula, AcDb::kTextLeft,
               handles[AreaDic_Table::kFormula]) ||
      !rowText(row, kGenRowAreaText, area, AcDb::kTextRight, handles[AreaDic_Table::kArea]))
    return false;
  m_sum += ReadDecimal(area);
  return AddTableRow(entry.recordId, entry.kind, handles);
}

bool TableDrawer::generalFooter(AcDbHandle& total) {
  // Rows too large to add up make no total: the table fails rather than show "inf".
  if (!std::isfinite(m_sum)) return false;
  if (!footerLines(kGeneralFooterLines) || !footerText(kGenFootLabel, kSumLabel, AcDb::kTextCenter))
    return false;
  SetTextByHandle(total, totalText(m_sum));
  return unitText(kGenFootUnitText);
}

bool TableDrawer::drawGeneralForm() {
  AcDbHandle total;
  if (!footerText(kGenFootTotalValue, kInitialTotal, AcDb::kTextRight, &total)) return false;
  for (std::size_t row = 0; row < m_entries.size(); ++row) {
    AreaDic_Table::Row handles{};
    handles[AreaDic_Table::kTotal] = total;
    if (!generalRow(row, handles)) return false;
  }
  return generalFooter(total);
}

}  // namespace

bool DrawLinkedTable(const std::vector<MarkEntry>& entries, const TableStyle& style) {
  TableDrawer drawer(entries, style);
  return style.form == TableForm::kTriangle ? drawer.drawTriangleForm() : drawer.drawGeneralForm();
}

}  // namespace area
