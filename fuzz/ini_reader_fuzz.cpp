// Fuzz target for the INI reader (libFuzzer): any bytes, asked for any section and key, give a
// value within the host's buffer or the fallback.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/ini_reader_fuzz -max_len=4096 CORPUS_FOLDER ../fuzz/corpus/ini_reader_fuzz
#include <cstdlib>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadIniInput(tessera::fuzz::BytesOf(data, size))) std::abort();
  return 0;
}
