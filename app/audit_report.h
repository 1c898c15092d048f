// The audit's report as the program prints it: one line per finding, a summary line, and the
// same findings as JSON for other programs.
#pragma once

#include <optional>
#include <string>

#include "maintenance/drawing_audit_service.h"

namespace tessera::app {

// `3 triangle 2A: base text "4.00", geometry gives "4.12"`, or `... : base text is missing`.
std::string FindingLine(const area::AuditFinding& finding);
// `12 figures, 2 schedules: 3 findings, 1 mark not linked`, or `...: clean`.
std::string SummaryLine(const area::AuditReport& report);
// Every line of the report, the summary last, each ending in a line feed.
std::string ReportText(const area::AuditReport& report);

// What --fix did: the number mended, and the audit of the mended drawing.
struct AuditFix {
  int mended = 0;
  area::AuditReport after;
};
std::string AuditJson(const std::string& drawing, const area::AuditReport& report,
                      const std::optional<AuditFix>& fix);

}  // namespace tessera::app
