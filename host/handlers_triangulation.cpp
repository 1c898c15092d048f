// Handlers of the triangulation functions.
#include "host/handlers.h"
#include "triangulation/triangulation_commands.h"

namespace area {

int DdTriDraw() {
  return RunDdTriDraw();
}
int AutoTriDraw() {
  return RunAutoTriDraw();
}

}  // namespace area
