// The libFuzzer executable of one target, named at compile time by
// PIXMARL_FUZZ_TARGET.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_target.h"

namespace {

const pk::fuzz::TFuzzTarget& Target() {
  static const pk::fuzz::TFuzzTarget* const target = pk::fuzz::FindFuzzTarget(PIXMARL_FUZZ_TARGET);
  if (!target) {
    std::fprintf(stderr, "no fuzz target named %s\n", PIXMARL_FUZZ_TARGET);
    std::abort();
  }
  return *target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Target().entry(std::span<const uint8_t>(data, size));
  return 0;
}
