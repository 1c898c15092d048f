// Handlers of the maintenance functions.
#include "host/handlers.h"
#include "host/not_available.h"

namespace area {

int AreaDicChk() {
  return NotAvailable("area_dicchk");
}
int AreaExcel() {
  return NotAvailable("area_excel");
}
int AreaIsDict() {
  return NotAvailable("area_isdict");
}
int AreaConvert30() {
  return NotAvailable("area_convert30");
}

}  // namespace area
