// The BMP road of the automation object beside Pillow's: a 12-megapixel 24-bit
// BMP loaded with ReadFile and written with WriteFile, against Pillow opening
// (fully loading) and saving the same file. Times are medians of several runs;
// peak memory is the resident peak of a fresh child process doing one load and
// one write, above what the child held when it started. The target: load plus
// write no slower than Pillow's open plus save, and a peak of at most the
// image, the encoded file and 20 %.
//
// Usage: bmp_road_bench [runs]   (Pillow at /usr/bin/python3)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/image_functions.h"
#include "platform/bitmap.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::u16string U16(const fs::path& path) { return path.u16string(); }

// A photograph-sized picture of gradients and noise, as a BMP file.
void WriteSource(const fs::path& path) {
  pk::TBitmap image(kWidth, kHeight, pk::PixelFormat::pf24bit);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = image.ScanLine(y);
    for (int x = 0; x < kWidth; ++x, row += 3) {
      noise = noise * 1664525u + 1013904223u;
      row[0] = static_cast<uint8_t>(x * 255 / kWidth + (noise >> 28));
      row[1] = static_cast<uint8_t>(y * 255 / kHeight + (noise >> 29));
      row[2] = static_cast<uint8_t>((x + y) / 28 + (noise >> 30));
    }
  }
  image.SaveToFile(U16(path));
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Road {
  double load_ms;
  double write_ms;
};

Road TimeOurRoad(const fs::path& source, const fs::path& target, int runs) {
  std::vector<double> loads, writes;
  for (int i = 0; i < runs; ++i) {
    pk::TImageFunctions object;
    const auto t0 = std::chrono::steady_clock::now();
    object.ReadFile(U16(source));
    const auto t1 = std::chrono::steady_clock::now();
    object.WriteFile(U16(target));
    const auto t2 = std::chrono::steady_clock::now();
    loads.push_back(Milliseconds(t1 - t0));
    writes.push_back(Milliseconds(t2 - t1));
  }
  return {Median(loads), Median(writes)};
}

// MiB of resident peak that a child process adds doing one load and write.
double OurPeakMiB(const fs::path& source, const fs::path& target) {
  const pid_t child = fork();
  if (child == 0) {
    rusage start{};
    getrusage(RUSAGE_SELF, &start);
    {
      pk::TImageFunctions object;
      object.ReadFile(U16(source));
      object.WriteFile(U16(target));
    }
    rusage end{};
    getrusage(RUSAGE_SELF, &end);
    // Whole MiB fit an exit status for any peak below 255 MiB.
    _exit(static_cast<int>(std::min<long>((end.ru_maxrss - start.ru_maxrss) / 1024, 255)));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const fs::path folder = fs::temp_directory_path() / ("pixmarl_bmp_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path source = folder / "source.bmp";
  WriteSource(source);
  const double image_mib = static_cast<double>(fs::file_size(source)) / (1 << 20);

  const Road ours = TimeOurRoad(source, folder / "ours.bmp", runs);
  const double our_peak = OurPeakMiB(source, folder / "peak.bmp");

  const std::string command = "/usr/bin/python3 " PIXMARL_BENCH_PEERS "/pillow_bmp_road.py '" + source.string() +
                              "' '" + (folder / "pillow.bmp").string() + "' " + std::to_string(runs);
  double pillow_load = -1, pillow_save = -1, pillow_peak = -1;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    if (std::fscanf(pipe, "%lf %lf %lf", &pillow_load, &pillow_save, &pillow_peak) != 3) pillow_load = -1;
    pclose(pipe);
  }
  fs::remove_all(folder);

  std::printf("12-megapixel 24-bit BMP (%d x %d, %.1f MiB), median of %d runs\n", kWidth, kHeight, image_mib, runs);
  std::printf("%-28s %10s %10s %10s %12s\n", "", "load ms", "write ms", "total ms", "peak MiB");
  std::printf("%-28s %10.1f %10.1f %10.1f %12.1f\n", "TImageFunctions", ours.load_ms, ours.write_ms,
              ours.load_ms + ours.write_ms, our_peak);
  if (pillow_load < 0) {
    std::printf("Pillow: not available at /usr/bin/python3\n");
    return 0;
  }
  std::printf("%-28s %10.1f %10.1f %10.1f %12.1f\n", "Pillow open+load, save", pillow_load, pillow_save,
              pillow_load + pillow_save, pillow_peak);
  std::printf("peak target (image + file + 20%%): %.1f MiB\n", 2 * image_mib * 1.2);
  return 0;
}
