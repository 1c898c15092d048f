// The handlers of the application's LISP functions, one per function of the table.
#pragma once

namespace area {

int AreaTriangle();
int PlotTally();
int AreaRectangle();
int AreaTrapezoid();
int AreaSector();
int AreaCircle();
int AreaLune();
int AreaDicChk();
int DdTriDraw();
int AutoTriDraw();
int AreaSetSet();
int AreaExcel();
int AreaIsDict();
int AreaConvert30();
int AreaPolyline();

}  // namespace area
