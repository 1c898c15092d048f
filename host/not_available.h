// What a function of the table does while its feature is not in this build: it says so and
// returns an error.
#pragma once

#include "cad/arx.h"

namespace area {

inline int NotAvailable(const char* name) {
  acutPrintf("\n%s: この機能はまだ使用できません", name);
  return RTERROR;
}

}  // namespace area
