// One linked triangle figure made from three given corners.
#include "triangulation/triangle_figure.h"

#include "common/figure_entities.h"
#include "figures/measures.h"
#include "figures/shapes.h"

namespace area {

bool DrawTriangleFigure(const FigureSettings& settings, const std::array<AcGePoint3d, 3>& corners,
                        TriangleFigure& figure) {
  auto record = std::make_unique<AreaDic_Triangle>();
  AcGePoint3dArray points;
  for (const AcGePoint3d& corner : corners) points.append(corner);
  if (!DrawTriangle(settings, points, figure.ids, *record, figure.drawn)) {
    // A half-drawn figure would carry the triangle's tags without a record to link them.
    if (!figure.ids.isEmpty()) EraseEntities(figure.ids);
    figure.ids.removeAll();
    return false;
  }
  figure.record = std::move(record);
  return true;
}

std::string TriangleFigureArea(const FigureSettings& settings, const DrawnFigure& drawn) {
  return TriangleAreaText(RulesOf(settings), drawn.valueTexts[0], drawn.valueTexts[1]);
}

bool FinishTriangleFigure(const FigureSettings& settings, const std::string& label,
                          TriangleFigure& figure) {
  const std::string valueList =
      ComposeValueList(figure.drawn.valueTexts, TriangleFigureArea(settings, figure.drawn));
  return FinishFigure(kTriangleKind, settings, label, valueList, figure.drawn.markPoint, figure.ids,
                      figure.record);
}

}  // namespace area
