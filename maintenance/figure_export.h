// The figure export: one row per figure mark of the drawing, in the schedule's default order,
// and the service through which the hosting program asks for them.
#pragma once

#include <optional>
#include <vector>

#include "maintenance/figure_export_service.h"

namespace area {

// Every mark of the working drawing that the schedule would accept in the general form (a
// reference of "AREA1" without foreign attributes), linked to its record and sorted in natural
// order, as a row; nothing when the figure dictionaries cannot be read.
std::optional<std::vector<FigureExportRow>> FigureExportRows();

// Puts the export service into the host's system registry, and takes it out again (only when
// the entry is still this library's).
void RegisterFigureExportService();
void RemoveFigureExportService();

}  // namespace area
