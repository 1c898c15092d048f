// What the DXF fuzz target does with one input, apart from libFuzzer's entry point, so that unit
// tests run the same body over chosen damaged files. Any bytes, text or binary, give a drawing
// (by the strict road or the recover road) or a message; a drawing that was read saves as a file
// that the strict road reads again without a mend. `false` is an inconsistency.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cad/arx.h"
#include "files/dxf_file.h"
#include "files/dxf_writer.h"

namespace tessera::fuzz {

inline bool ReadDxfOnBothRoads(std::string_view bytes) {
  AcDbDatabase drawing(false, true);
  std::vector<std::string> repairs;
  if (files::ReadDxfFile(bytes, &drawing, repairs)) return true;
  const std::string saved = files::WriteDxfText(&drawing);
  AcDbDatabase again(false, true);
  std::vector<std::string> mended;
  return !files::ReadDxfFile(saved, &again, mended) && mended.empty();
}

}  // namespace tessera::fuzz
