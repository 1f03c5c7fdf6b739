#include "tests/support/peak_memory.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace pk::test {

int64_t ChildPeakGrowthBytes(const std::function<void()>& action) {
  const pid_t child = fork();
  if (child == 0) {
    rusage start{};
    getrusage(RUSAGE_SELF, &start);
    try {
      action();
    } catch (...) {
    }
    rusage end{};
    getrusage(RUSAGE_SELF, &end);
    // Kilobytes of growth, in whole MiB as far as an exit status carries them.
    const int64_t grown = end.ru_maxrss - start.ru_maxrss;
    _exit(static_cast<int>(std::min<int64_t>(grown / 1024, 255)));
  }
  if (child < 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? int64_t{WEXITSTATUS(status)} << 20 : -1;
}

}  // namespace pk::test
#endif
