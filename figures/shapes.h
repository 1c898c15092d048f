// The seven figure functions' shapes, each in its own file, and the triangle's drawing step that
// the triangulation commands reuse.
#pragma once

#include "figures/frame.h"

namespace area {

const FigureShape& TriangleShape();
const FigureShape& RectangleShape();
const FigureShape& TrapezoidShape();
const FigureShape& CircleShape();
const FigureShape& SectorShape();
const FigureShape& LuneShape();
// area_polyline draws circle figures with the circle's steps.
const FigureShape& PolylineCircleShape();

// The name of the triangle kind in the drawing ("AREA_TRIANGLE", "DICT_TRIANGLE", code 1).
extern const FigureKind kTriangleKind;

// The triangle's drawing step on the first three points (world coordinates; p1 the apex, p2p3 the
// base): outline, height line, base and height texts, the record's handles and value rules. It
// gives the base, height and product texts and the centroid as the mark point; the area text is
// left to TriangleAreaText. False when an entity is refused or the base is too short; entities
// made before then are in `ids`.
bool DrawTriangle(const FigureSettings& settings, const AcGePoint3dArray& points,
                  AcDbObjectIdArray& ids, AreaDic_Triangle& record, DrawnFigure& drawn);

}  // namespace area
