// Fuzz target for the DXF reader (libFuzzer): any bytes give a drawing or a message, never a
// crash, a hang or a read out of bounds; a drawing that was read, strictly or recovered, saves
// as a file that reads again strictly.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/dxf_reader_fuzz -max_len=65536 CORPUS_FOLDER ../examples
#include <cstdlib>

#include "dxf_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadDxfOnBothRoads({reinterpret_cast<const char*>(data), size})) std::abort();
  return 0;
}
