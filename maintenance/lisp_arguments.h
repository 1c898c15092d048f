// The entity-name argument of the maintenance functions.
#pragma once

#include <optional>

#include "cad/arx.h"

namespace area {

// The object id of the call's first argument; nothing when there is no argument, it is not an
// entity name, or the name does not resolve.
std::optional<AcDbObjectId> EntityArgument();

}  // namespace area
