// Handlers of the maintenance functions.
#include "host/handlers.h"
#include "maintenance/convert30.h"
#include "maintenance/figure_query.h"
#include "maintenance/record_dump.h"

namespace area {
int AreaDicChk() {
  return RunAreaDicChk();
}
int AreaExcel() {
  return RunAreaExcel();
}
int AreaIsDict() {
  return RunAreaIsDict();
}
int AreaConvert30() {
  return RunAreaConvert30();
}

}  // namespace area
