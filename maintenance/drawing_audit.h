// The drawing audit: every figure record's entities, value texts, mark and schedule rows, and
// every schedule's totals, compared with what the figure's geometry gives; and the marks that no
// record lists. The comparison uses the linkage's own recomputations, and so does the mending.
#pragma once

#include <optional>

#include "maintenance/drawing_audit_service.h"

namespace area {

// The findings of the working drawing; nothing when its figure dictionaries cannot be read.
std::optional<AuditReport> AuditDrawing();
// Mends what is out of step, in the order of the linkage's cascade (value texts, marks, rows,
// totals), and gives the number of findings mended.
std::optional<int> MendDrawing();

// Puts the audit service into the host's system registry, and takes it out again (only when
// the entry is still this library's).
void RegisterDrawingAuditService();
void RemoveDrawingAuditService();

}  // namespace area
