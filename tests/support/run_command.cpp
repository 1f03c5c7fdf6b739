#include "tests/support/run_command.h"

#include <cstdio>

namespace pk::test {

std::string RunAndCapture(const std::string& command) {
  std::string output;
#ifndef _WIN32
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (pclose(pipe) == 0) return output;
  }
#endif
  return "(failed) " + output;
}

}  // namespace pk::test
