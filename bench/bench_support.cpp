#include "bench_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace pk::bench {

TBitmap CameraPicture(int width, int height) {
  TBitmap image(width, height, PixelFormat::pf24bit);
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.ScanLine(y);
    for (int x = 0; x < width; ++x, row += 3) {
      noise = noise * 1664525u + 1013904223u;
      row[0] = static_cast<uint8_t>(x * 255 / width + (noise >> 28));
      row[1] = static_cast<uint8_t>(y * 255 / height + (noise >> 29));
      row[2] = static_cast<uint8_t>((x + y) / 28 + (noise >> 30));
    }
  }
  return image;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double ChildPeakMiB(const std::function<void()>& road) {
  const pid_t child = fork();
  if (child == 0) {
    rusage start{};
    getrusage(RUSAGE_SELF, &start);
    road();
    rusage end{};
    getrusage(RUSAGE_SELF, &end);
    // Whole MiB fit an exit status for any peak below 255 MiB.
    _exit(static_cast<int>(std::min<long>((end.ru_maxrss - start.ru_maxrss) / 1024, 255)));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace pk::bench
