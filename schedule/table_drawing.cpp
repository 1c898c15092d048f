// Drawing linked area schedules in triangle and general form.
#include "schedule/table_drawing.h"

#include <array>
#include <optional>
#include <utility>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/marks.h"
#include "common/text_values.h"
#include "common/value_format.h"
#include "records/figure_records.h"

namespace area {
namespace {

// Footer texts start as this and get their totals once every row is drawn.
constexpr const char* kInitialTotal = "0.0";
constexpr const char* kSumLabel = "計";
constexpr const char* kHalfLabel = "１／２";
constexpr const char* kLandAreaLabel = "地積";
constexpr double kHalf = 0.5;

// A triangle's value list "( base height double-area area )" has at least these many tokens;
// tokens 1 to 3 are the values shown.
constexpr std::size_t kTriangleListTokens = 5;
constexpr std::size_t kFirstShownToken = 1;

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
  switch (kind) {
    case kShapeTriangle:
      return AreaDic_Triangle::desc();
    case kShapeRectangle:
      return AreaDic_Rectangle::desc();
    case kShapeTrapezoid:
      return AreaDic_Trapezoid::desc();
    case kShapeSector:
      return AreaDic_Sector::desc();
    case kShapeCircle:
      return AreaDic_Circle::desc();
    case kShapeLune:
      return AreaDic_Lune::desc();
    default:
      return nullptr;
  }
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
  return IsDeducted(entry) ? kNegativeSign + value : value;
}

// Stores a text's handle in its row field; false when the host refused the text.
bool Keep(AcDbHandle& field, const AcDbHandle& handle) {
  field = handle;
  return !handle.isNull();
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
  AcDbHandle text(const AcGePoint3d& at, const std::string& text, AcDb::TextHorzMode mode) const;
  bool unitText(int index) const;
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

AcDbHandle TableDrawer::text(const AcGePoint3d& at, const std::string& text,
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

// Unit kinds without a unit text draw nothing.
bool TableDrawer::unitText(int index) const {
  const std::string unit = TableUnitText(m_style.frame.unitKind);
  return unit.empty() || !text(footerPoint(index), unit, AcDb::kTextRight).isNull();
}

std::string TableDrawer::totalText(double value) const {
  RoundValue(m_style.digits, m_style.rounding, value);
  return FormatValue(m_style.digits, value);
}

bool TableDrawer::triangleRow(std::size_t row, AreaDic_STable::Row& handles) {
  const MarkEntry& entry = m_entries[row];
  if (!rowLines(row, kTriangleRowLines)) return false;
  if (!Keep(handles[AreaDic_STable::kSign],
            text(rowPoint(row, kTriRowSignText), IsDeducted(entry) ? kNegativeSign : "",
                 AcDb::kTextLeft)) ||
      !Keep(handles[AreaDic_STable::kNumber],
            text(rowPoint(row, kTriRowNumberText), entry.number, AcDb::kTextCenter)))
    return false;
  const std::vector<std::string> tokens = SplitTokens(entry.valueList, ' ');
  if (tokens.size() < kTriangleListTokens) return false;
  const std::string doubleArea = SignedValue(entry, tokens[kFirstShownToken + 2]);
  if (!Keep(handles[AreaDic_STable::kBase],
            text(rowPoint(row, kTriRowBaseText), tokens[kFirstShownToken], AcDb::kTextRight)) ||
      !Keep(
          handles[AreaDic_STable::kHeight],
          text(rowPoint(row, kTriRowHeightText), tokens[kFirstShownToken + 1], AcDb::kTextRight)) ||
      !Keep(handles[AreaDic_STable::kDoubleArea],
            text(rowPoint(row, kTriRowDoubleAreaText), doubleArea, AcDb::kTextRight)))
    return false;
  m_sum += ReadDecimal(doubleArea);
  return AddTriangleRow(entry.recordId, handles);
}

// The totals: the sum rounded, its half from the rounded text, the land area equal to the half.
bool TableDrawer::triangleFooter(AreaDic_STable::Row& footer) {
  if (!footerLines(kTriangleFooterLines)) return false;
  const std::string sum = totalText(m_sum);
  if (text(footerPoint(kTriFootSumLabel), kSumLabel, AcDb::kTextCenter).isNull()) return false;
  SetTextByHandle(footer[AreaDic_STable::kSum], sum);
  const std::string half = totalText(ReadDecimal(sum) * kHalf);
  if (text(footerPoint(kTriFootHalfLabel), kHalfLabel, AcDb::kTextCenter).isNull()) return false;
  SetTextByHandle(footer[AreaDic_STable::kHalf], half);
  if (text(footerPoint(kTriFootLandLabel), kLandAreaLabel, AcDb::kTextCenter).isNull())
    return false;
  SetTextByHandle(footer[AreaDic_STable::kLandArea], half);
  return unitText(kTriFootUnitText);
}

bool TableDrawer::drawTriangleForm() {
  AreaDic_STable::Row footer{};
  if (!Keep(footer[AreaDic_STable::kSum],
            text(footerPoint(kTriFootSumValue), kInitialTotal, AcDb::kTextRight)) ||
      !Keep(footer[AreaDic_STable::kHalf],
            text(footerPoint(kTriFootHalfValue), kInitialTotal, AcDb::kTextRight)) ||
      !Keep(footer[AreaDic_STable::kLandArea],
            text(footerPoint(kTriFootLandValue), kInitialTotal, AcDb::kTextRight)))
    return false;
  for (std::size_t row = 0; row < m_entries.size(); ++row) {
    AreaDic_STable::Row handles = footer;
    if (!triangleRow(row, handles)) return false;
  }
  return triangleFooter(footer);
}

bool TableDrawer::generalRow(std::size_t row, AreaDic_Table::Row& handles) {
  const MarkEntry& entry = m_entries[row];
  if (!rowLines(row, kGeneralRowLines)) return false;
  if (!Keep(handles[AreaDic_Table::kSign],
            text(rowPoint(row, kGenRowSignText), IsDeducted(entry) ? kNegativeSign : "",
                 AcDb::kTextLeft)) ||
      !Keep(handles[AreaDic_Table::kNumber],
            text(rowPoint(row, kGenRowNumberText), entry.number, AcDb::kTextCenter)))
    return false;
  const std::optional<Formula> formula = ComposeFormula(entry.kind, entry.valueList);
  if (!formula) return false;
  const std::string area = SignedValue(entry, formula->area);
  if (!Keep(handles[AreaDic_Table::kFormula],
            text(rowPoint(row, kGenRowFormulaText), formula->formula, AcDb::kTextLeft)) ||
      !Keep(handles[AreaDic_Table::kArea],
            text(rowPoint(row, kGenRowAreaText), area, AcDb::kTextRight)))
    return false;
  m_sum += ReadDecimal(area);
  return AddTableRow(entry.recordId, entry.kind, handles);
}

bool TableDrawer::generalFooter(AcDbHandle& total) {
  if (!footerLines(kGeneralFooterLines)) return false;
  if (text(footerPoint(kGenFootLabel), kSumLabel, AcDb::kTextCenter).isNull()) return false;
  SetTextByHandle(total, totalText(m_sum));
  return unitText(kGenFootUnitText);
}

bool TableDrawer::drawGeneralForm() {
  AcDbHandle total = text(footerPoint(kGenFootTotalValue), kInitialTotal, AcDb::kTextRight);
  if (total.isNull()) return false;
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
