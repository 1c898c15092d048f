// Erase propagation: erasing a figure's mark takes the figure's rows out of every schedule that
// lists it (the totals drop by its area) and its record out of its dictionary. The figure's other
// entities stay as plain entities; erasing any of them changes nothing.
#pragma once

#include <string>

#include "cad/arx.h"
#include "linkage/figure_linkage.h"

namespace area {

// What erasing a figure's mark does to its links: its rows leave every schedule and the totals
// drop by its area; its record, stored under `key`, leaves the kind's dictionary.
void UnlinkFigure(const FigureKindInfo& kind, const std::string& key, const LinkedRecord& linked,
                  bool erasing);

// Each acts only on a mark of its own shape that a record of its dictionary names.
void React_EraseTriangle(const AcDbObject* entity, bool erasing);
void React_EraseRectangle(const AcDbObject* entity, bool erasing);
void React_EraseTrapezoid(const AcDbObject* entity, bool erasing);
void React_EraseSector(const AcDbObject* entity, bool erasing);
void React_EraseCircle(const AcDbObject* entity, bool erasing);
void React_EraseLune(const AcDbObject* entity, bool erasing);

}  // namespace area
