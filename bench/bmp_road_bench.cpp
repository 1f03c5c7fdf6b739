// The BMP road of the automation object beside Pillow's: a 12-megapixel 24-bit
// BMP loaded with ReadFile and written with WriteFile, against Pillow opening
// (fully loading) and saving the same file. Times are medians of several runs,
// by the wall clock and by the processor (the latter less disturbed by a busy
// machine; WriteFile's wait for the disk to confirm the file counts only in
// the former);
// peak memory is the resident peak of a fresh child process doing one load and
// one write, above what the child held when it started. The target: load plus
// write no slower than Pillow's open plus save, and a peak of at most the
// image, the encoded file and 20 %.
//
// Usage: bmp_road_bench [runs]   (Pillow at /usr/bin/python3)
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/image_functions.h"
#include "bench_support.h"
#include "platform/bitmap.h"

namespace {

namespace fs = std::filesystem;
using pk::bench::Median;
using pk::bench::Milliseconds;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::u16string U16(const fs::path& path) { return path.u16string(); }

// A photograph-sized picture, as a BMP file.
void WriteSource(const fs::path& path) { pk::bench::CameraPicture(kWidth, kHeight).SaveToFile(U16(path)); }

double ProcessorMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Road {
  double load_ms = -1;
  double write_ms = -1;
  double load_cpu_ms = -1;
  double write_cpu_ms = -1;
  double peak_mib = -1;
};

void PrintRoad(const char* name, const Road& road) {
  std::printf("%-24s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f\n", name, road.load_ms, road.write_ms,
              road.load_ms + road.write_ms, road.load_cpu_ms, road.write_cpu_ms, road.load_cpu_ms + road.write_cpu_ms,
              road.peak_mib);
}

Road TimeOurRoad(const fs::path& source, const fs::path& target, int runs) {
  std::vector<double> loads, writes, load_cpu, write_cpu;
  for (int i = 0; i < runs; ++i) {
    pk::TImageFunctions object;
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = ProcessorMilliseconds();
    object.ReadFile(U16(source));
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = ProcessorMilliseconds();
    object.WriteFile(U16(target));
    const auto t2 = std::chrono::steady_clock::now();
    const double c2 = ProcessorMilliseconds();
    loads.push_back(Milliseconds(t1 - t0));
    writes.push_back(Milliseconds(t2 - t1));
    load_cpu.push_back(c1 - c0);
    write_cpu.push_back(c2 - c1);
  }
  Road road;
  road.load_ms = Median(loads);
  road.write_ms = Median(writes);
  road.load_cpu_ms = Median(load_cpu);
  road.write_cpu_ms = Median(write_cpu);
  return road;
}

// MiB of resident peak that a child process adds doing one load and write.
double OurPeakMiB(const fs::path& source, const fs::path& target) {
  return pk::bench::ChildPeakMiB([&] {
    pk::TImageFunctions object;
    object.ReadFile(U16(source));
    object.WriteFile(U16(target));
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const fs::path folder = fs::temp_directory_path() / ("pixmarl_bmp_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path source = folder / "source.bmp";
  WriteSource(source);
  const double image_mib = static_cast<double>(fs::file_size(source)) / (1 << 20);

  Road ours = TimeOurRoad(source, folder / "ours.bmp", runs);
  ours.peak_mib = OurPeakMiB(source, folder / "peak.bmp");

  const std::string command = "/usr/bin/python3 " PIXMARL_BENCH_PEERS "/pillow_bmp_road.py '" + source.string() +
                              "' '" + (folder / "pillow.bmp").string() + "' " + std::to_string(runs);
  Road pillow;
  bool have_pillow = false;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    have_pillow = std::fscanf(pipe, "%lf %lf %lf %lf %lf", &pillow.load_ms, &pillow.write_ms, &pillow.load_cpu_ms,
                              &pillow.write_cpu_ms, &pillow.peak_mib) == 5;
    pclose(pipe);
  }
  fs::remove_all(folder);

  std::printf("12-megapixel 24-bit BMP (%d x %d, %.1f MiB), median of %d runs\n", kWidth, kHeight, image_mib, runs);
  std::printf("%-24s %9s %9s %9s %9s %9s %9s %9s\n", "", "load ms", "write ms", "total ms", "load cpu", "write cpu",
              "total cpu", "peak MiB");
  PrintRoad("TImageFunctions", ours);
  if (have_pillow) {
    PrintRoad("Pillow open+load, save", pillow);
  } else {
    std::printf("Pillow: not available at /usr/bin/python3\n");
  }
  std::printf("peak target (image + file + 20%%): %.1f MiB\n", 2 * image_mib * 1.2);
  return 0;
}
