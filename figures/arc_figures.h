// What sector and lune figures share: the three picks on the arc and the parts drawn from the
// centre (outline arc, two radius lines, angle arc) and the radius and angle texts.
#pragma once

#include "figures/frame.h"
#include "figures/measures.h"

namespace area {

// Picks three points on the arc: an end, a point between, the other end.
bool InputArcPoints(AcGePoint3dArray& points, int savedOrthoMode);

// The outline arc, tagged as the outline; false when refused.
bool DrawOutlineArc(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                    AcDbObjectIdArray& ids);

// The radius lines to p1 and p3 and the angle arc (a tenth of the radius), in this order.
bool DrawRadiusLines(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                     const AcGePoint3d& p1, const AcGePoint3d& p3, AcDbObjectIdArray& ids);

// The radius text along centre→p1.
bool DrawRadiusText(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                    const AcGePoint3d& p1, const std::string& text, AcDbObjectIdArray& ids);

// The angle text on the bisector just outside the angle arc.
bool DrawAngleText(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                   const AcGePoint3d& p1, const AcGePoint3d& p3, const std::string& text,
                   AcDbObjectIdArray& ids);

}  // namespace area
