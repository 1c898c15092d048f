// Fuzz target for drawing scripts (libFuzzer): splitting any bytes into lines and LISP
// expressions, and reading each line as a point, number, keyword or selection answer, never
// crashes or hangs. Nothing is run: commands would touch files.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/script_reader_fuzz -max_len=8192 CORPUS_FOLDER ../examples
#include <cstdlib>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadScriptInput(tessera::fuzz::BytesOf(data, size))) std::abort();
  return 0;
}
