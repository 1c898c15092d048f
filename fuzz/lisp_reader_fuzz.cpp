// Fuzz target for the LISP reader (libFuzzer): any text gives forms or a message, never a
// crash or a hang, however deep its nesting; what was read prints as text that reads again.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/lisp_reader_fuzz -max_len=4096 CORPUS_FOLDER
#include <cstdlib>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadLispInput(tessera::fuzz::BytesOf(data, size))) std::abort();
  return 0;
}
