// Fuzz target for the "|"-separated settings strings and value lists of the plug-in
// (libFuzzer): any bytes are refused or read into settings whose insertion scale is positive.
//
// Built with clang only: cmake -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_FUZZ=ON, then run
//   bin/settings_reader_fuzz -max_len=1024 CORPUS_FOLDER ../fuzz/corpus/settings_reader_fuzz
#include <cstdlib>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tessera::fuzz::ReadSettingsInput(tessera::fuzz::BytesOf(data, size))) std::abort();
  return 0;
}
