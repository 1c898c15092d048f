// One linked triangle figure made from three given corners instead of picked points: the
// triangle's own drawing step, then its area, value list, mark, group, reactor and record, as
// the triangle command makes them, so that linkage and schedules treat both alike.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "cad/arx.h"
#include "common/settings.h"
#include "figures/frame.h"
#include "records/figure_records.h"

namespace area {

// A triangle figure between its drawing and its storing.
struct TriangleFigure {
  AcDbObjectIdArray ids;                 // its entities, the outline first
  std::unique_ptr<FigureRecord> record;  // owned here until the dictionary takes it
  DrawnFigure drawn;                     // base, height and product texts, the mark point
};

// Draws the figure with its apex at corners[0] and its base from corners[1] to corners[2]
// (world coordinates). False when the host refuses an entity or the base is too short; what
// was drawn is then erased and the record deleted.
bool DrawTriangleFigure(const FigureSettings& settings, const std::array<AcGePoint3d, 3>& corners,
                        TriangleFigure& figure);

// The area text: base × height × 0.5 of the numbers the two texts show, rounded under the
// figure's digits and rounding, exactly as the triangle command and the linkage compute it.
std::string TriangleFigureArea(const FigureSettings& settings, const DrawnFigure& drawn);

// Completes a drawn figure: the mark with `label` and the value list "( base height product area
// )", the group, the mark's reactor and the record under the outline's handle. False when the
// mark or the record cannot be stored; the figure is then erased and its record deleted.
bool FinishTriangleFigure(const FigureSettings& settings, const std::string& label,
                          TriangleFigure& figure);

}  // namespace area
