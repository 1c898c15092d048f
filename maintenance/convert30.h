// Conversion of older figures: a linked figure's values recomputed from its geometry with eight
// decimals, handed to the calling LISP program, which rewrites the figure's values with them.
// It changes nothing in the drawing.
#pragma once

namespace area {

// "area_convert30" (entity name of a figure mark): the text of figures/exact_values.h for the
// first shape, in the order triangle, rectangle, trapezoid, circle, sector, lune, whose
// dictionary holds a record of that mark and whose key entity gives values. nil with RTERROR,
// without a message, for a bad argument or when no shape gives values.
int RunAreaConvert30();

}  // namespace area
