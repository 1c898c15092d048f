// The two triangulation functions. autotri_draw splits a lot drawn as a polyline into triangles
// and makes each a linked triangle figure, numbering the marks itself; ddtri_draw makes one
// linked triangle figure from three points that a LISP program passes, asking only for its mark.
#pragma once

namespace area {

// autotri_draw: (figure settings, entity name of the lot). Sets nil and returns RTNORM when the
// lot became figures; RTERROR otherwise (a refused lot is told in a message box; figures made
// before a later failure stay). A wrong argument list also sets nil.
int RunAutoTriDraw();

// ddtri_draw: (figure settings, apex, base start, base end), the points as 3D points in the
// current UCS. Sets nil and returns RTNORM when the figure was made; RTERROR otherwise, with nil
// set when the argument list is wrong.
int RunDdTriDraw();

}  // namespace area
