// The figure marks of a drawing as CSV text: UTF-8 with a byte-order mark (so that spreadsheets
// read the Japanese labels right), a header row, and one row per mark, lines ended by CR LF.
#pragma once

#include <string>
#include <vector>

#include "maintenance/figure_export_service.h"

namespace tessera::app {

// Value columns every export has: a lune's radius, angle, chord and height are the most a figure
// shows before its area. Rows with more values widen the table.
inline constexpr std::size_t kValueColumns = 4;

// label,shape,linked,sign,value1..valueN,area,layer,handle; linked is "yes" or "no". A field
// holding a comma, a double quote or a line break is quoted, its quotes doubled.
std::string FigureCsv(const std::vector<area::FigureExportRow>& rows);

}  // namespace tessera::app
