// Names and forms of the parts of figures.
#include "maintenance/figure_parts.h"

#include <array>

#include "common/value_format.h"
#include "schedule/mark_entries.h"

namespace area {
namespace {

struct ShapeName {
  int shapeCode;
  const char* name;
};
constexpr std::array<ShapeName, 6> kShapeNames = {{
    {kShapeTriangle, "triangle"},
    {kShapeRectangle, "rectangle"},
    {kShapeTrapezoid, "trapezoid"},
    {kShapeSector, "sector"},
    {kShapeCircle, "circle"},
    {kShapeLune, "lune"},
}};

// Shape handles of each kind, in the order of its record's handle table.
constexpr std::array<FigurePart, 3> kTriangleParts = {{
    {"height line", PartForm::kLine},
    {"base text", PartForm::kText},
    {"height text", PartForm::kText},
}};
constexpr std::array<FigurePart, 4> kRectangleParts = {{
    {"right diagonal", PartForm::kLine},
    {"left diagonal", PartForm::kLine},
    {"base text", PartForm::kText},
    {"height text", PartForm::kText},
}};
constexpr std::array<FigurePart, 4> kTrapezoidParts = {{
    {"height line", PartForm::kLine},
    {"lower base text", PartForm::kText},
    {"upper base text", PartForm::kText},
    {"height text", PartForm::kText},
}};
constexpr std::array<FigurePart, 2> kCircleParts = {{
    {"radius line", PartForm::kLine},
    {"radius text", PartForm::kText},
}};
constexpr std::array<FigurePart, 5> kSectorParts = {{
    {"start radius line", PartForm::kLine},
    {"end radius line", PartForm::kLine},
    {"angle arc", PartForm::kArc},
    {"radius text", PartForm::kText},
    {"angle text", PartForm::kText},
}};
constexpr std::array<FigurePart, 8> kLuneParts = {{
    {"start radius line", PartForm::kLine},
    {"end radius line", PartForm::kLine},
    {"angle arc", PartForm::kArc},
    {"chord line", PartForm::kLine},
    {"height line", PartForm::kLine},
    {"radius text", PartForm::kText},
    {"angle text", PartForm::kText},
    {"chord text", PartForm::kText},
}};

}  // namespace

std::string ShapeNameOf(int shapeCode) {
  for (const ShapeName& shape : kShapeNames)
    if (shape.shapeCode == shapeCode) return shape.name;
  return shapeCode == kNoShape ? std::string() : std::to_string(shapeCode);
}

FigurePart OutlinePart(const FigureKindInfo& kind) {
  switch (kind.shapeCode) {
    case kShapeCircle:
      return {"outline", PartForm::kCircle};
    case kShapeSector:
    case kShapeLune:
      return {"outline", PartForm::kArc};
    default:
      return {"outline", PartForm::kPolyline};
  }
}

std::span<const FigurePart> ShapeHandleParts(const FigureKindInfo& kind) {
  switch (kind.shapeCode) {
    case kShapeTriangle:
      return kTriangleParts;
    case kShapeRectangle:
      return kRectangleParts;
    case kShapeTrapezoid:
      return kTrapezoidParts;
    case kShapeCircle:
      return kCircleParts;
    case kShapeSector:
      return kSectorParts;
    default:
      return kLuneParts;
  }
}

std::string MissingForm(const AcDbEntity& entity, PartForm form) {
  switch (form) {
    case PartForm::kPolyline:
      return AcDb2dPolyline::cast(&entity) ? "" : "a polyline";
    case PartForm::kCircle:
      return AcDbCircle::cast(&entity) ? "" : "a circle";
    case PartForm::kArc:
      return AcDbArc::cast(&entity) ? "" : "an arc";
    case PartForm::kLine:
      return AcDbLine::cast(&entity) ? "" : "a line";
    case PartForm::kText:
      return AcDbText::cast(&entity) ? "" : "a text";
    case PartForm::kMark:
      return AcDbBlockReference::cast(&entity) ? "" : "a block reference";
  }
  return {};
}

}  // namespace area
