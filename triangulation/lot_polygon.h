// A lot drawn as a polyline, made ready for splitting: its vertices read from a 2D, 3D or
// lightweight polyline of straight segments, a repeated closing vertex dropped, the polygon
// checked and turned clockwise, and the triangles of its split as world points, each with its
// widest corner first. Each step refuses a lot with the message autotri_draw shows for it.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "cad/arx.h"

namespace area {

// What autotri_draw says, in a message box, when it refuses a lot.
inline constexpr const char* kNotPolygonMessage = "\n閉領域を示す、多角形を指定してください";
inline constexpr const char* kNotClosedRegionMessage = "\n指定された図形は閉領域図形ではありません";
inline constexpr const char* kTwistedMessage = "\nねじれ図形は、閉領域図形として指定できません";
inline constexpr const char* kUnusableMessage = "\nこの図形は、閉領域図形として指定できません";
inline constexpr const char* kSplitFailedMessage = "\n三斜図形の頂点計算に失敗しました";

// The three corners of one triangle of a lot: counter-clockwise, the widest corner first (the
// apex whose height falls inside the opposite side), all at the height of the lot's first vertex.
using LotTriangle = std::array<AcGePoint3d, 3>;

// The vertices of a lot as the polyline stores them, and whether all lie more than
// kCoincidentDistance apart.
struct LotVertices {
  AcGePoint3dArray points;
  bool apart = false;
};

// Reads the lot's vertices from a 2D, 3D or lightweight polyline whose segments are all straight.
// The closed flag is not consulted: the last vertex always joins the first. Null when read; else
// kUnusableMessage for more than kMaxPolygonPoints vertices (counted before any is read) and
// kNotPolygonMessage when the entity does not open, is of another kind or has arcs or fitting.
const char* ReadLotVertices(AcDbObjectId entityId, LotVertices& lot);

// Drops the last vertex when it repeats the first (a polyline drawn back to its start). Null when
// the remaining vertices are apart, else kNotClosedRegionMessage.
const char* DropClosingVertex(LotVertices& lot);

// Checks the polygon in the XY plane and turns a counter-clockwise one clockwise. Null when it is
// usable; kTwistedMessage when it crosses itself; kUnusableMessage when it is degenerate.
const char* MakeClockwise(AcGePoint3dArray& points);

// Splits a clockwise lot into points.length() - 2 triangles, in the order they were cut; x and y
// come from the lot, z from its first vertex. Nothing when no split is found.
std::optional<std::vector<LotTriangle>> SplitLot(const AcGePoint3dArray& points);

}  // namespace area
