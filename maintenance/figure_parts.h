// What the parts of each figure kind are called in reports, and what each must be: the outline's
// entity class and, for every shape handle of the record, its name and class.
#pragma once

#include <span>
#include <string>

#include "cad/arx.h"
#include "records/figure_kinds.h"

namespace area {

// The entity class a figure part must have.
enum class PartForm { kPolyline, kCircle, kArc, kLine, kText, kMark };

struct FigurePart {
  const char* name;  // "base text", "height line", ...
  PartForm form;
};

// The shape's name: "triangle", ... by shape code; the code as a number when no shape has it,
// empty when the mark had none.
std::string ShapeNameOf(int shapeCode);

// The outline of a kind, and its record's shape handles in table order.
FigurePart OutlinePart(const FigureKindInfo& kind);
std::span<const FigurePart> ShapeHandleParts(const FigureKindInfo& kind);

// What the entity should be and is not ("a text", "a line", ...); empty when it has the form.
std::string MissingForm(const AcDbEntity& entity, PartForm form);

}  // namespace area
