// The peak memory an action costs, measured in a child process so that what
// the test program already holds does not hide it. Native builds only.
#pragma once

#include <cstdint>
#include <functional>

namespace pk::test {

#ifndef _WIN32
// The peak resident memory a child process reaches running action (an
// exception it raises ends it), above what it had when it started (the
// parent's pages it shares count from the start). Whole MiB, at most 255 MiB;
// -1 when the child could not be run.
int64_t ChildPeakGrowthBytes(const std::function<void()>& action);
#endif

}  // namespace pk::test
