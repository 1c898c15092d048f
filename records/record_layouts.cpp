// The field declarations of the six figure record kinds: filing order, DXF group codes and the
// record dump's lines side by side.
#include <array>

#include "records/figure_records.h"

namespace area {
namespace {

using enum FieldKind;

constexpr RecordField Handle(int slot, const char* dumpLine) {
  return {kHandle, kDxfRecordHandle, slot, dumpLine};
}
constexpr RecordField Setting(int code, int slot, const char* dumpLine) {
  return {kSetting, code, slot, dumpLine};
}
constexpr RecordField RowCount(int code, int slot) {
  return {kRowCount, code, slot, nullptr};
}

constexpr std::array kTriangleFields = {
    Handle(0, "\n   求積記号ハンドル：%s"),
    Handle(1, "\n   垂線ハンドル    ：%s"),
    Handle(2, "\n   底辺文字ハンドル：%s"),
    Handle(3, "\n   垂線文字ハンドル：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別       ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数           ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理       ：%d"),
    RowCount(kDxfFirstRowCount, kTriangleRowsSlot),
    RowCount(kDxfSecondRowCount, kTableRowsSlot),
};
constexpr std::array kTriangleDump = {0, 1, 2, 3, 4, 5, 6};

constexpr std::array kRectangleFields = {
    Handle(0, "\n   求積記号ハンドル：%s"),
    Handle(1, "\n   右対角線ハンドル：%s"),
    Handle(2, "\n   左対角線ハンドル：%s"),
    Handle(3, "\n   底辺文字ハンドル：%s"),
    Handle(4, "\n   高さ文字ハンドル：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別        ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数            ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理        ：%d"),
    RowCount(kDxfFirstRowCount, kTableRowsSlot),
};
constexpr std::array kRectangleDump = {0, 1, 2, 3, 4, 5, 6, 7};

// The dump shows the upper base before the lower base.
constexpr std::array kTrapezoidFields = {
    Handle(0, "\n   求積記号ハンドル：%s"),
    Handle(1, "\n   垂線図形ハンドル：%s"),
    Handle(2, "\n   下値図形ハンドル：%s"),
    Handle(3, "\n   上値図形ハンドル：%s"),
    Handle(4, "\n   高さ文字ハンドル：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別        ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数            ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理        ：%d"),
    RowCount(kDxfFirstRowCount, kTableRowsSlot),
};
constexpr std::array kTrapezoidDump = {0, 1, 3, 2, 4, 5, 6, 7};

constexpr std::array kCircleFields = {
    Handle(0, "\n   求積記号ハンドル  ：%s"),
    Handle(1, "\n   半径図形ハンドル  ：%s"),
    Handle(2, "\n   半径値図形ハンドル：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別          ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数              ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理          ：%d"),
    RowCount(kDxfFirstRowCount, kTableRowsSlot),
};
constexpr std::array kCircleDump = {0, 1, 2, 3, 4, 5};

constexpr std::array kSectorFields = {
    Handle(0, "\n   求積記号ハンドル    ：%s"),
    Handle(1, "\n   開始半径図形ハンドル：%s"),
    Handle(2, "\n   終了半径図形ハンドル：%s"),
    Handle(3, "\n   内角円弧図形ハンドル：%s"),
    Handle(4, "\n   半径値図形ハンドル  ：%s"),
    Handle(5, "\n   内角値図形ハンドル  ：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別            ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数                ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理            ：%d"),
    RowCount(kDxfFirstRowCount, kTableRowsSlot),
};
constexpr std::array kSectorDump = {0, 1, 2, 3, 4, 5, 6, 7, 8};

// The dump shows the three value texts before the chord and height lines.
constexpr std::array kLuneFields = {
    Handle(0, "\n   求積記号ハンドル    ：%s"),
    Handle(1, "\n   開始半径図形ハンドル：%s"),
    Handle(2, "\n   終了半径図形ハンドル：%s"),
    Handle(3, "\n   内角円弧図形ハンドル：%s"),
    Handle(4, "\n   弦図形ハンドル\t     ：%s"),
    Handle(5, "\n   高さ図形ハンドル    ：%s"),
    Handle(6, "\n   半径値図形ハンドル  ：%s"),
    Handle(7, "\n   内角値図形ハンドル  ：%s"),
    Handle(8, "\n   弦値図形ハンドル    ：%s"),
    Setting(kDxfUnitKind, kUnitKindSlot, "\n   単位種別            ：%d"),
    Setting(kDxfDigits, kDigitsSlot, "\n   桁数                ：%d"),
    Setting(kDxfRounding, kRoundingSlot, "\n   端数処理            ：%d"),
    RowCount(kDxfFirstRowCount, kTableRowsSlot),
};
constexpr std::array kLuneDump = {0, 1, 2, 3, 6, 7, 8, 4, 5, 9, 10, 11};

}  // namespace

const RecordLayout& AreaDic_Triangle::Layout() {
  static constexpr RecordLayout kLayout{"AreaDic_Triangle",
                                        "AREADIC_TRIANGLE",
                                        "\n三角形求積図",
                                        kTriangleFields,
                                        kTriangleDump,
                                        3,
                                        true};
  return kLayout;
}

const RecordLayout& AreaDic_Rectangle::Layout() {
  static constexpr RecordLayout kLayout{"AreaDic_Rectangle",
                                        "AREADIC_RECTANGLE",
                                        "\n長方形求積図",
                                        kRectangleFields,
                                        kRectangleDump,
                                        4,
                                        false};
  return kLayout;
}

const RecordLayout& AreaDic_Trapezoid::Layout() {
  static constexpr RecordLayout kLayout{"AreaDic_Trapezoid",
                                        "AREADIC_TRAPEZOID",
                                        "\n台形求積図",
                                        kTrapezoidFields,
                                        kTrapezoidDump,
                                        4,
                                        false};
  return kLayout;
}

const RecordLayout& AreaDic_Circle::Layout() {
  static constexpr RecordLayout kLayout{
      "AreaDic_Circle", "AREADIC_CIRCLE", "\n円形求積図", kCircleFields, kCircleDump, 2, false};
  return kLayout;
}

const RecordLayout& AreaDic_Sector::Layout() {
  static constexpr RecordLayout kLayout{
      "AreaDic_Sector", "AREADIC_SECTOR", "\n扇形求積図", kSectorFields, kSectorDump, 5, false};
  return kLayout;
}

const RecordLayout& AreaDic_Lune::Layout() {
  static constexpr RecordLayout kLayout{
      "AreaDic_Lune", "AREADIC_LUNE", "\n弓形求積図", kLuneFields, kLuneDump, 8, false};
  return kLayout;
}

}  // namespace area
