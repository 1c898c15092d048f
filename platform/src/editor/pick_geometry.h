// The geometry that picks and selection windows test. An entity is seen as the pieces it draws
// in the XY plane of the current UCS: straight segments, arcs, and filled boxes (the area a
// text covers). Curves are exact; an arc under a non-uniform block scale becomes segments.
// Text boxes are estimated from the height: 0.6 of it per ASCII character, a full height per
// other character (CJK), so a pick on a text's letters always finds it.
#pragma once

#include <optional>
#include <vector>

#include "cad/db_database.h"

namespace tessera::editor {

struct Segment {
  AcGePoint2d from;
  AcGePoint2d to;
};

// Counter-clockwise from `start` to `end` (radians); a full circle runs from 0 to 2π.
struct ArcPiece {
  AcGePoint2d center;
  double radius = 0.0;
  double start = 0.0;
  double end = 0.0;
};

// A convex quadrilateral, corners in order around it.
struct Box {
  AcGePoint2d corners[4];
};

struct Shape {
  std::vector<Segment> segments;
  std::vector<ArcPiece> arcs;
  std::vector<Box> boxes;
  bool empty() const { return segments.empty() && arcs.empty() && boxes.empty(); }
};

// An axis-parallel window given by two opposite corners in any order.
struct Window {
  AcGePoint2d low;
  AcGePoint2d high;
  Window(const AcGePoint2d& a, const AcGePoint2d& b);
  bool contains(const AcGePoint2d& point) const;
};

// The entity's pieces in the current UCS of `database` (the entity must be open for read).
Shape ShapeOf(const AcDbEntity* entity, const AcDbDatabase* database);

// The entity's pieces in world XY; the block definitions it looks into are added to `blocks`
// when given.
Shape WorldShapeOf(const AcDbEntity* entity, std::vector<AcDbObjectId>* blocks);
// The smallest axis-parallel window holding every piece (a whole circle for an arc), or none
// for no pieces.
std::optional<Window> ExtentsOf(const Shape& shape);
// A world-XY window holding every point that the UCS of `database` shows inside `ucsWindow`;
// none when the UCS plane stands edge-on to the world's XY plane.
std::optional<Window> WorldBoxUnder(const Window& ucsWindow, const AcDbDatabase* database);

// The smallest distance from the point to any piece; 0 inside a box. Infinity for no pieces.
double DistanceTo(const Shape& shape, const AcGePoint2d& point);
// True when the shape has pieces and every one lies wholly inside the window (a selection
// window "W" selects such entities).
bool InsideWindow(const Shape& shape, const Window& window);
// True when some piece lies inside the window or meets its boundary (a crossing window "C").
bool CrossesWindow(const Shape& shape, const Window& window);

}  // namespace tessera::editor
