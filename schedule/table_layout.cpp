// The points of a linked area schedule.
#include "schedule/table_layout.h"

namespace area {
namespace {

// The number column's centre, where numbers and footer labels are centred.
constexpr double kNumberCentre = kNumberColumnEnd / 2.0;

// Places points of one table: x and y in table units from the insertion point.
class Placer {
 public:
  explicit Placer(const TableFrame& frame) : m_frame(frame) {}

  // The point x, y table units from the insertion point, moved left by `leftShift` drawing
  // units.
  AcGePoint3d at(double x, double y, double leftShift = 0.0) const {
    return AcGePoint3d(m_frame.origin.x + x * m_frame.unit - leftShift,
                       m_frame.origin.y + y * m_frame.unit, m_frame.origin.z);
  }
  // Top of the first row, relative to the insertion point.
  double firstRowTop() const { return -kHeaderBand; }
  // How far the sign text starts left of the number's centre, in drawing units.
  double signOffset() const {
    return kSignOffsetPerScale * m_frame.scale + kSignOffsetPerTextSize * m_frame.textSize;
  }
  // How far the footer's last value ends left of the unit text, in drawing units.
  double unitGap() const {
    if (m_frame.unitKind == kSquareMetreUnitKind) return kSquareMetreUnitGap * m_frame.textSize;
    if (m_frame.unitKind == kSquareMillimetreUnitKind)
      return kSquareMillimetreUnitGap * m_frame.textSize;
    return 0.0;
  }

 private:
  const TableFrame& m_frame;
};

void AddTriangleRow(const Placer& p, double top, std::vector<AcGePoint3d>& points) {
  const double bottom = top - kRowHeight;
  const double text = bottom + kTextLift;
  for (double x : {0.0, kNumberColumnEnd, kTriangleBaseColumnEnd, kTriangleHeightColumnEnd,
                   kTriangleTableWidth}) {
    points.push_back(p.at(x, top));
    points.push_back(p.at(x, bottom));
  }
  points.push_back(p.at(kNumberCentre, text));
  points.push_back(p.at(kTriangleBaseColumnEnd - kTextInset, text));
  points.push_back(p.at(kTriangleHeightColumnEnd - kTextInset, text));
  points.push_back(p.at(kTriangleTableWidth - kTextInset, text));
  points.push_back(p.at(kNumberCentre, text, p.signOffset()));
}

void AddTriangleFooter(const Placer& p, double top, std::vector<AcGePoint3d>& points) {
  const double lines[] = {top, top - kRowHeight, top - 2 * kRowHeight, top - 3 * kRowHeight};
  for (double y : lines) points.push_back(p.at(0.0, y));
  for (int i = 0; i < 3; ++i) points.push_back(p.at(kNumberColumnEnd, lines[i]));
  for (double y : lines) points.push_back(p.at(kTriangleTableWidth, y));
  for (int i = 1; i <= 3; ++i) points.push_back(p.at(kNumberCentre, lines[i] + kTextLift));
  const double valueEnd = kTriangleTableWidth - kTextInset;
  for (int i = 1; i <= 3; ++i) points.push_back(p.at(valueEnd, lines[i] + kTextLift));
  points.push_back(p.at(valueEnd, lines[3] + kTextLift, p.unitGap()));
}

void AddGeneralRow(const Placer& p, double top, std::vector<AcGePoint3d>& points) {
  const double bottom = top - kRowHeight;
  const double text = bottom + kTextLift;
  for (double x : {0.0, kNumberColumnEnd, kGeneralFormulaColumnEnd, kGeneralTableWidth}) {
    points.push_back(p.at(x, top));
    points.push_back(p.at(x, bottom));
  }
  points.push_back(p.at(kNumberCentre, text));
  points.push_back(p.at(kNumberColumnEnd + kFormulaIndent, text));
  points.push_back(p.at(kGeneralTableWidth - kTextInset, text));
  points.push_back(p.at(kNumberCentre, text, p.signOffset()));
}

void AddGeneralFooter(const Placer& p, double top, std::vector<AcGePoint3d>& points) {
  const double bottom = top - kRowHeight;
  const double text = bottom + kTextLift;
  const double valueEnd = kGeneralTableWidth - kTextInset;
  points.push_back(p.at(0.0, top));
  points.push_back(p.at(0.0, bottom));
  points.push_back(p.at(kGeneralTableWidth, top));
  points.push_back(p.at(kGeneralTableWidth, bottom));
  points.push_back(p.at(kNumberCentre, text));
  points.push_back(p.at(valueEnd, text));
  points.push_back(p.at(valueEnd, text, p.unitGap()));
}

}  // namespace

TableForm TableFormOf(int tableFormSetting) {
  return tableFormSetting == kTriangleTableForm ? TableForm::kTriangle : TableForm::kGeneral;
}

std::size_t RowPointCount(TableForm form) {
  if (form == TableForm::kTriangle) return kTriRowPointCount;
  return kGenRowPointCount;
}

std::size_t FooterPointCount(TableForm form) {
  if (form == TableForm::kTriangle) return kTriFootPointCount;
  return kGenFootPointCount;
}

std::vector<AcGePoint3d> TableLayout(TableForm form, const TableFrame& frame,
                                     std::size_t rowCount) {
  const Placer placer(frame);
  std::vector<AcGePoint3d> points;
  points.reserve(rowCount * RowPointCount(form) + FooterPointCount(form));
  double top = placer.firstRowTop();
  for (std::size_t row = 0; row < rowCount; ++row, top -= kRowHeight) {
    if (form == TableForm::kTriangle)
      AddTriangleRow(placer, top, points);
    else
      AddGeneralRow(placer, top, points);
  }
  if (form == TableForm::kTriangle)
    AddTriangleFooter(placer, top, points);
  else
    AddGeneralFooter(placer, top, points);
  return points;
}

const AcGePoint3d& RowPoint(const std::vector<AcGePoint3d>& layout, TableForm form, std::size_t row,
                            int index) {
  return layout.at(row * RowPointCount(form) + static_cast<std::size_t>(index));
}

const AcGePoint3d& FooterPoint(const std::vector<AcGePoint3d>& layout, TableForm form,
                               std::size_t rowCount, int index) {
  return layout.at(rowCount * RowPointCount(form) + static_cast<std::size_t>(index));
}

const char* TableUnitText(int unitKind) {
  if (unitKind == kSquareMetreUnitKind) return "m2";
  if (unitKind == kSquareMillimetreUnitKind) return "mm2";
  return "";
}

}  // namespace area
