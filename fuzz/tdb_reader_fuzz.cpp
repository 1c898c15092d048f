// Fuzz target for .tdb drawings (libFuzzer): any bytes give a drawing or a message, never a crash
// or a hang; a drawing that was read writes .tdb and DXF files that read back.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/tdb_reader_fuzz -max_len=65536 CORPUS_FOLDER ../fuzz/corpus/tdb_reader_fuzz
#include <cstdlib>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadTdbInput(tessera::fuzz::BytesOf(data, size))) std::abort();
  return 0;
}
