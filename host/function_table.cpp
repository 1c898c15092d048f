#include "host/function_table.h"

#include "cad/arx.h"
#include "host/handlers.h"

namespace area {

const std::array<LispFunction, kLispFunctionCount>& LispFunctions() {
  static const std::array<LispFunction, kLispFunctionCount> table = {{
      {"area_triangle", AreaTriangle},
      {"plot_tally", PlotTally},
      {"area_rectangle", AreaRectangle},
      {"area_trapezoid", AreaTrapezoid},
      {"area_sector", AreaSector},
      {"area_circle", AreaCircle},
      {"area_lune", AreaLune},
      {"area_dicchk", AreaDicChk},
      {"ddtri_draw", DdTriDraw},
      {"autotri_draw", AutoTriDraw},
      {"areaset_set", AreaSetSet},
      {"area_excel", AreaExcel},
      {"area_isdict", AreaIsDict},
      {"area_convert30", AreaConvert30},
      {"area_polyline", AreaPolyline},
  }};
  return table;
}

int RegisterLispFunctions() {
  const auto& table = LispFunctions();
  for (short code = 0; code < kLispFunctionCount; ++code)
    if (acedDefun(table[code].name, code) == 0) return RTERROR;
  return RTNORM;
}

void UnregisterLispFunctions() {
  const auto& table = LispFunctions();
  for (short code = 0; code < kLispFunctionCount; ++code) acedUndef(table[code].name, code);
}

int DispatchLispCall() {
  acedRetVoid();
  int code = acedGetFunCode();
  if (code < 0 || code >= kLispFunctionCount) return RSERR;
  int result = LispFunctions()[static_cast<std::size_t>(code)].handler();
  return result == RTNORM ? RSRSLT : RSERR;
}

}  // namespace area
