// The table of figure kinds.
#include "records/figure_kinds.h"

#include "common/figure_entities.h"
#include "common/value_format.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"

namespace area {

const std::array<FigureKindInfo, 6> kFigureKinds = {{
    {.shapeCode = kShapeTriangle,
     .eventBase = 0,
     .application = kTriangleApp,
     .dictionary = kDictTriangle,
     .recordClass = kTriangleClass,
     .valueTextCount = 2,
     .valueTextSlots = {AreaDic_Triangle::kBaseText, AreaDic_Triangle::kHeightText, 0}},
    {.shapeCode = kShapeRectangle,
     .eventBase = 10,
     .application = kRectangleApp,
     .dictionary = kDictRectangle,
     .recordClass = kRectangleClass,
     .valueTextCount = 2,
     .valueTextSlots = {AreaDic_Rectangle::kBaseText, AreaDic_Rectangle::kHeightText, 0}},
    {.shapeCode = kShapeTrapezoid,
     .eventBase = 20,
     .application = kTrapezoidApp,
     .dictionary = kDictTrapezoid,
     .recordClass = kTrapezoidClass,
     .valueTextCount = 3,
     .valueTextSlots = {AreaDic_Trapezoid::kLowerBaseText, AreaDic_Trapezoid::kUpperBaseText,
                        AreaDic_Trapezoid::kHeightText}},
    {.shapeCode = kShapeSector,
     .eventBase = 30,
     .application = kSectorApp,
     .dictionary = kDictSector,
     .recordClass = kSectorClass,
     .valueTextCount = 2,
     .valueTextSlots = {AreaDic_Sector::kRadiusText, AreaDic_Sector::kAngleText, 0}},
    {.shapeCode = kShapeCircle,
     .eventBase = 40,
     .application = kCircleApp,
     .dictionary = kDictCircle,
     .recordClass = kCircleClass,
     .valueTextCount = 1,
     .valueTextSlots = {AreaDic_Circle::kRadiusText, 0, 0}},
    {.shapeCode = kShapeLune,
     .eventBase = 50,
     .application = kLuneApp,
     .dictionary = kDictLune,
     .recordClass = kLuneClass,
     .valueTextCount = 3,
     .valueTextSlots = {AreaDic_Lune::kRadiusText, AreaDic_Lune::kAngleText,
                        AreaDic_Lune::kChordText}},
}};

const FigureKindInfo& TriangleKindInfo() {
  return kFigureKinds[0];
}
const FigureKindInfo& RectangleKindInfo() {
  return kFigureKinds[1];
}
const FigureKindInfo& TrapezoidKindInfo() {
  return kFigureKinds[2];
}
const FigureKindInfo& SectorKindInfo() {
  return kFigureKinds[3];
}
const FigureKindInfo& CircleKindInfo() {
  return kFigureKinds[4];
}
const FigureKindInfo& LuneKindInfo() {
  return kFigureKinds[5];
}

const FigureKindInfo* KindByShapeCode(int shapeCode) {
  for (const FigureKindInfo& kind : kFigureKinds)
    if (kind.shapeCode == shapeCode) return &kind;
  return nullptr;
}

const FigureKindInfo* KindByDictionary(std::string_view dictionary) {
  for (const FigureKindInfo& kind : kFigureKinds)
    if (dictionary == kind.dictionary) return &kind;
  return nullptr;
}

const FigureKindInfo* KindByEventCode(int code) {
  for (const FigureKindInfo& kind : kFigureKinds)
    if (code >= kind.eventCode(kEventRoleOutline) && code <= kind.eventCode(kEventRoleMark))
      return &kind;
  return nullptr;
}

}  // namespace area
