// Each shape's plan: from the defining geometry and the value rules, every line end, arc, text
// placement and string, and the mark point of the figure, computed without touching the drawing.
// The figure commands create entities at the plan; the linkage moves a figure's existing entities
// to the plan of its edited outline; so a figure and its recomputation agree to the last digit.
// Each plan is defined in its shape's file.
#pragma once

#include <optional>
#include <string>

#include "cad/arx.h"
#include "common/geometry.h"
#include "figures/measures.h"

namespace area {

struct PlannedLine {
  AcGePoint3d start;
  AcGePoint3d end;
};

struct PlannedText {
  TextPlacement placement;
  std::string text;
};

// Triangle p1 (apex), p2, p3 (base): nothing when the base is too short to carry a height.
struct TrianglePlan {
  PlannedLine heightLine;  // p1 to the foot on p2p3
  PlannedText base;        // along p2→p3
  PlannedText height;      // along p1→foot
  std::string product;     // base × height
  AcGePoint3d markPoint;   // the centroid
};
// The mean of the three corners in x and y, at p1's z: where a triangle's mark sits.
AcGePoint3d TriangleCentroid(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3);
std::optional<TrianglePlan> PlanTriangle(const ValueRules& rules, const AcGePoint3d& p1,
                                         const AcGePoint3d& p2, const AcGePoint3d& p3,
                                         double textSize);

// Rectangle of four corners p1..p4 with the right angle at p2.
struct RectanglePlan {
  PlannedLine rightDiagonal;  // p1→p3
  PlannedLine leftDiagonal;   // p2→p4
  PlannedText base;           // |p2p3| along p2→p3
  PlannedText height;         // |p1p2| along p1→p2
  std::string area;
  AcGePoint3d markPoint;  // midpoint of p1 and p3
};
RectanglePlan PlanRectangle(const ValueRules& rules, const AcGePoint3dArray& corners,
                            double textSize);

// Trapezoid of four corners, p1p2 the upper and p4p3 the lower base; nothing when the upper base
// is too short.
struct TrapezoidPlan {
  PlannedLine heightLine;  // p4 to the foot on p1p2
  PlannedText lower;       // along p4→p3
  PlannedText upper;       // along p1→p2
  PlannedText height;      // along p4→foot
  std::string area;
  AcGePoint3d markPoint;
};
std::optional<TrapezoidPlan> PlanTrapezoid(const ValueRules& rules, const AcGePoint3dArray& corners,
                                           double textSize);

// Circle of centre and drawn radius; the radius line ends at `onCircle`.
struct CirclePlan {
  PlannedLine radiusLine;
  PlannedText radius;
  std::string area;
  AcGePoint3d markPoint;  // the centre
};
CirclePlan PlanCircle(const ValueRules& rules, const AcGePoint3d& centre, double drawnRadius,
                      const AcGePoint3d& onCircle, double textSize);

// What sectors and lunes share: the radius lines to the arc's ends and the angle arc.
struct ArcPartsPlan {
  PlannedLine startRadius;  // centre→start
  PlannedLine endRadius;    // centre→end
  ArcGeometry angleArc;     // a tenth of the drawn radius
  double angle = 0.0;       // sweep in degrees, unrounded
};

// Sector of the arc whose ends are `start` and `end`.
struct SectorPlan {
  ArcPartsPlan parts;
  PlannedText radius;  // along centre→start
  PlannedText angle;   // beside the angle arc
  std::string area;
  AcGePoint3d markPoint;
};
SectorPlan PlanSector(const ValueRules& rules, const ArcGeometry& arc, const AcGePoint3d& start,
                      const AcGePoint3d& end, double textSize);

// Lune of the arc whose ends are `start` and `end`.
struct LunePlan {
  ArcPartsPlan parts;
  PlannedLine chordLine;   // start→end
  PlannedLine heightLine;  // centre→chord midpoint
  PlannedText radius;      // along centre→start
  PlannedText angle;       // beside the angle arc
  PlannedText chord;       // along end→start
  std::string height;      // centre to chord, in the value list only
  std::string area;
  AcGePoint3d markPoint;
};
LunePlan PlanLune(const ValueRules& rules, const ArcGeometry& arc, const AcGePoint3d& start,
                  const AcGePoint3d& end, double textSize);

// The radius lines and angle arc of an arc figure.
ArcPartsPlan PlanArcParts(const ArcGeometry& arc, const AcGePoint3d& start, const AcGePoint3d& end);

// The two ends of an arc as the host computes them from its angles.
AcGePoint3d ArcStartPoint(const ArcGeometry& arc);
AcGePoint3d ArcEndPoint(const ArcGeometry& arc);

}  // namespace area
