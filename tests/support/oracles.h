// The independent tools the tests compare against: Pillow (the Python at
// /usr/bin/python3; the first python3 on PATH may lack it), libtiff's tiffcp,
// and the fixtures tools/make-fixtures generates with ImageMagick, Pillow and
// numpy. A missing tool skips its tests on a developer's machine, but under CI
// (CI=true) it fails them: there a missing oracle is a broken set-up, and its
// tests must not pass unseen. The Windows build runs under Wine, where the
// tools are out of reach, so there a missing oracle always skips.
#pragma once

#include <initializer_list>

namespace pk::test {

enum class Oracle { kPillow, kTiffcp, kGeneratedFixtures };

// True when every oracle named is there. Otherwise records the skip (or the
// failure under CI) on the running test and returns false; the test then
// returns at once.
bool RequireOracles(std::initializer_list<Oracle> oracles);

}  // namespace pk::test
