// Handlers of the figure functions: each runs the figure frame with its shape.
#include "figures/frame.h"
#include "figures/shapes.h"
#include "host/handlers.h"

namespace area {

int AreaTriangle() {
  return RunFigureCommand(TriangleShape());
}
int AreaRectangle() {
  return RunFigureCommand(RectangleShape());
}
int AreaTrapezoid() {
  return RunFigureCommand(TrapezoidShape());
}
int AreaSector() {
  return RunFigureCommand(SectorShape());
}
int AreaCircle() {
  return RunFigureCommand(CircleShape());
}
int AreaLune() {
  return RunFigureCommand(LuneShape());
}
int AreaPolyline() {
  return RunFigureCommand(PolylineCircleShape());
}

}  // namespace area
