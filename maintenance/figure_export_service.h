// The figure export as a service of the loaded plug-in: the program that hosts the plug-in finds
// it in the host's system registry under kFigureExportServiceName and asks it for the rows of the
// working drawing. This header holds only what both sides need: the row and the interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/rx.h"

namespace area {

inline constexpr const char* kFigureExportServiceName = "TesseraAreaFigureExport";

// One figure mark of the drawing.
struct FigureExportRow {
  std::string label;    // BANGO1 or BANGO2
  std::string shape;    // "triangle", ... by the mark's shape code; the code itself when unknown
  bool linked = false;  // a figure record lists the mark
  std::string sign;     // "+" added, "-" deducted
  std::vector<std::string> values;  // the value list's texts before the area
  std::string area;                 // the value list's last text
  std::string layer;
  std::string handle;  // the mark's handle text
};

class FigureExportService : public AcRxObject {
 public:
  // Every mark of the working drawing, sorted by label as the area schedule sorts by default;
  // nothing when the drawing's figure dictionaries cannot be read.
  virtual std::optional<std::vector<FigureExportRow>> rows() const = 0;
};

}  // namespace area
