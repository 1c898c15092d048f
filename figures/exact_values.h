// A figure's values recomputed from its key entity with eight decimals and the full π, as one
// text in the order of its value list: "(v1 v2 ... area)", no blanks inside the parentheses.
//
// Lengths stay in drawing units; each length (and the areas of rectangles and trapezoids) is
// rounded half up to eight decimals, the triangle's area is not rounded, and the circle's,
// sector's and lune's values are not rounded at all. The conversion of older figures returns
// these texts to LISP, and the completion of copied figures writes them into the copies' marks.
#pragma once

#include <optional>
#include <string>

#include "cad/arx.h"
#include "records/figure_kinds.h"

namespace area {

// Decimals of every exact value.
inline constexpr int kExactDigits = 8;

// The values of a figure of `kind` whose key entity (outline polyline, circle or arc) is
// `keyEntity`: triangle "(base height product area)", rectangle "(base height area)", trapezoid
// "(lower upper height area)", circle "(radius area)", sector "(radius angle area)", lune
// "(radius angle chord height area)". Nothing when the entity does not open as the kind's key
// entity (a 2D polyline with distinct vertices, enough of them; a circle; an arc) or its
// geometry gives no values (a triangle or trapezoid base shorter than kMinimumBaseLength).
// Angles are the arc's counter-clockwise sweep in degrees, also across direction 0.
std::optional<std::string> ExactValueText(const FigureKindInfo& kind, AcDbObjectId keyEntity);

}  // namespace area
