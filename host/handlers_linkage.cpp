// Handlers of the settings update of existing figures.
#include "cad/arx.h"
#include "host/handlers.h"
#include "linkage/settings_update.h"

namespace area {

int AreaSetSet() {
  const resbuf* args = acedGetArgs();
  if (args == nullptr || args->restype != RTSTR || args->resval.rstring == nullptr) {
    acedRetNil();
    return RTERROR;
  }
  const std::optional<SettingsUpdate> update = ParseSettingsUpdate(args->resval.rstring);
  if (!update) return RTERROR;
  UpdateFigureSettings(*update);
  return RTNORM;
}

}  // namespace area
