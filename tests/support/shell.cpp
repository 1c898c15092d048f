#include "shell.h"

#include <array>
#include <cstdio>
#include <memory>

namespace tessera::testing {

std::string Shell(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
  std::string output;
  if (!pipe) return output;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
    output.append(buffer.data(), n);
  return output;
}

}  // namespace tessera::testing
