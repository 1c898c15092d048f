// Handlers of the area schedule function.
#include "host/handlers.h"
#include "schedule/plot_tally.h"

namespace area {

int PlotTally() {
  return RunPlotTally();
}

}  // namespace area
