// The drawing audit as a service of the loaded plug-in: the program that hosts the plug-in finds
// it in the host's system registry under kDrawingAuditServiceName, asks it what on the working
// drawing is out of step with its geometry, and asks it to mend that. This header holds only what
// both sides need: the findings and the interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/rx.h"

namespace area {

inline constexpr const char* kDrawingAuditServiceName = "TesseraAreaDrawingAudit";

// One thing on the drawing that does not agree with what it should show.
struct AuditFinding {
  std::string label;    // the figure's label; empty for a schedule's footer or an unread mark
  std::string shape;    // "triangle", ...; "schedule" for a footer text
  std::string handle;   // the entity at fault
  std::string subject;  // "base text", "value list", "row area", "total", ...
  // A value out of step: what the entity shows, what it should show, and what gives that
  // ("geometry", "value texts", "mark", "rows", "sum"). Otherwise `problem` says what is wrong
  // ("is missing", "is not a text", ...) and the three are empty.
  std::string shows, expected, source;
  std::string problem;
  bool mendable = false;  // the audit's fix can bring it back into step
};

struct AuditReport {
  int figures = 0;    // figure records audited
  int schedules = 0;  // schedules (footer totals) audited
  std::vector<AuditFinding> findings;
  // Marks that no figure record lists (copies, hand insertions): not out of step, just not
  // linked, so their numbers follow nothing. `problem` is "is not linked to a figure".
  std::vector<AuditFinding> unlinked;
};

class DrawingAuditService : public AcRxObject {
 public:
  // Audits the working drawing; nothing when its figure dictionaries cannot be read.
  virtual std::optional<AuditReport> audit() const = 0;
  // Brings what is out of step back in line through the linkage's recomputations and gives the
  // number of findings mended; nothing when the dictionaries cannot be read.
  virtual std::optional<int> mend() const = 0;
};

}  // namespace area
