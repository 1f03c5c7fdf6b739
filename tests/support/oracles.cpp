#include "tests/support/oracles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/test_files.h"

namespace pk::test {
namespace {

// A missing tool fails the test under CI=true natively; the Windows build runs
// under Wine, where the Linux tools are out of reach.
bool MissingToolFails() {
#ifdef _WIN32
  return false;
#else
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
#endif
}

bool Succeeds([[maybe_unused]] const char* command) {
#ifdef _WIN32
  return false;
#else
  return std::system(command) == 0;
#endif
}

const char* Name(Oracle oracle) {
  switch (oracle) {
    case Oracle::kPillow: return "Pillow";
    case Oracle::kTiffcp: return "tiffcp";
    case Oracle::kGeneratedFixtures: return "the generated fixtures (tools/make-fixtures)";
  }
  return "?";
}

// Each tool is looked for once per process.
bool Available(Oracle oracle) {
  switch (oracle) {
    case Oracle::kPillow: {
      static const bool found = Succeeds("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1");
      return found;
    }
    case Oracle::kTiffcp: {
      static const bool found = Succeeds("command -v tiffcp >/dev/null 2>&1");
      return found;
    }
    case Oracle::kGeneratedFixtures: return HaveGeneratedFixtures();
  }
  return false;
}

// GTEST_SKIP returns from the function it is written in, so it sits alone here.
void RecordSkip(const std::string& reason) { GTEST_SKIP() << reason; }

}  // namespace

bool RequireOracles(std::initializer_list<Oracle> oracles) {
  for (const Oracle oracle : oracles) {
    if (Available(oracle)) continue;
    if (MissingToolFails()) {
      ADD_FAILURE() << Name(oracle) << " missing under CI=true";
    } else {
      RecordSkip(std::string(Name(oracle)) + " missing");
    }
    return false;
  }
  return true;
}

}  // namespace pk::test
