// Runs an oracle tool (exiftool, Pillow, libtiff) and captures what it prints.
#pragma once

#include <string>

namespace pk::test {

// The command's standard output; prefixed with "(failed) " when it cannot be
// started or exits with an error. Native builds only: under Windows every
// command fails.
std::string RunAndCapture(const std::string& command);

}  // namespace pk::test
