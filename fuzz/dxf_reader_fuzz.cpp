// Fuzz target for the DXF reader: any bytes must give a drawing or a message, never a crash,
// a hang or a read out of bounds; a drawing that was read must also write.
//
// Not built by default. To build and run it with libFuzzer (from the repository root):
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address -Iplatform/include \
//     -Iplatform/src fuzz/dxf_reader_fuzz.cpp $(find platform/src -name '*.cpp') -ldl \
//     -o dxf_reader_fuzz
//   ./dxf_reader_fuzz -max_len=65536 examples/
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cad/arx.h"
#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view content(reinterpret_cast<const char*>(data), size);
  std::string text;
  if (tessera::files::DxfTextAsUtf8(content, text)) return 0;
  AcDbDatabase drawing(false, true);
  if (!tessera::files::ReadDxfText(text, &drawing)) tessera::files::WriteDxfText(&drawing);
  return 0;
}
