// Creating the entities of figures and schedules in model space.
//
// Every operation builds the entity with its normal along the current UCS's Z axis, gives it the
// drawing's defaults, then the requested properties, appends it to model space and returns its
// id; on any failure the entity is discarded and the null id returned, with nothing printed.
#pragma once

#include <string>

#include "cad/arx.h"

namespace area {

// Properties applied over the drawing's defaults: an empty layer or linetype and colour 0 leave
// the default. A layer is found by name, erased layers included; a missing layer is a failure.
struct EntityStyle {
  std::string layer;
  Adesk::UInt16 colorIndex = 0;
  std::string linetype;
};

// The drawing's defaults on the named layer.
inline EntityStyle OnLayer(const std::string& layer) {
  EntityStyle style;
  style.layer = layer;
  return style;
}

// A single-line text: alignment point, string, height (0 leaves the style's), rotation (radians)
// and alignment modes.
struct TextDraft {
  AcGePoint3d position;
  std::string text;
  double height = 0.0;
  double rotation = 0.0;
  AcDb::TextHorzMode horizontalMode = AcDb::kTextLeft;
  AcDb::TextVertMode verticalMode = AcDb::kTextBase;
};

AcDbObjectId MakeLine(const AcGePoint3d& start, const AcGePoint3d& end, const EntityStyle& style);
AcDbObjectId MakeCircle(const AcGePoint3d& centre, double radius, const EntityStyle& style);
// Angles in radians; the arc runs counter-clockwise from start to end.
AcDbObjectId MakeArc(const AcGePoint3d& centre, double radius, double startAngle, double endAngle,
                     const EntityStyle& style);
// A simple 2D polyline at elevation 0 without widths or bulges.
AcDbObjectId MakePolyline2d(const AcGePoint3dArray& vertices, bool closed,
                            const EntityStyle& style);
// The text uses the null text style; its linetype is left at the default.
AcDbObjectId MakeText(const TextDraft& text, const EntityStyle& style);

// The Z axis of the current UCS, the normal of every entity the plug-in creates.
AcGeVector3d CurrentUcsNormal();

}  // namespace area
