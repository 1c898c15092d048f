// Handlers of the settings update of existing figures.
#include "host/handlers.h"
#include "host/not_available.h"

namespace area {

int AreaSetSet() {
  return NotAvailable("areaset_set");
}

}  // namespace area
