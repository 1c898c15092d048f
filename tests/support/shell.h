// Running another program from a test (tessera itself, or python3 with ezdxf) and reading what
// it printed.
#pragma once

#include <string>

namespace tessera::testing {

// Runs `command` through the shell; its standard output and error output together.
std::string Shell(const std::string& command);

}  // namespace tessera::testing
