// The completion of copied figures: a COPY of a linked figure copies its entities and its group,
// but the copy gets no record and no mark reactor; it is an unlinked figure. What it must carry
// is the source's values in its mark's value list, so that schedules of unlinked figures and
// exports can still list it.
#pragma once

#include "cad/arx.h"

namespace area {

// Called for every object appended to a drawing: a group whose member is a recorded copy of a
// figure mark gets that copy's value list filled from the source figure's geometry.
void CompleteCopiedFigure(const AcDbObject* appended);

}  // namespace area
