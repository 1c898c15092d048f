// What sector and lune figures share: the three picks on the arc, the parts drawn from the
// centre (outline arc, two radius lines, angle arc), and drawing planned lines and texts.
#pragma once

#include "figures/frame.h"
#include "figures/measures.h"
#include "figures/plans.h"

namespace area {

// Picks three points on the arc: an end, a point between, the other end.
bool InputArcPoints(AcGePoint3dArray& points, int savedOrthoMode);
// The outline arc, tagged as the outline; false when refused.
bool DrawOutlineArc(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                    AcDbObjectIdArray& ids);
// The radius lines and the angle arc, in this order.
bool DrawArcParts(const FigureKind& kind, const FigureSettings& settings, const ArcPartsPlan& parts,
                  AcDbObjectIdArray& ids);
// One auxiliary line, and one value text.
bool DrawPlannedLine(const FigureKind& kind, const FigureSettings& settings,
                     const PlannedLine& line, AcDbObjectIdArray& ids);
bool DrawPlannedText(const FigureKind& kind, const FigureSettings& settings,
                     const PlannedText& text, AcDbObjectIdArray& ids);

}  // namespace area
