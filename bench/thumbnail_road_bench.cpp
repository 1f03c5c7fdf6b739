// The thumbnail road beside ImageMagick's and libvips': a 12-megapixel JPEG
// read from its file, resized to 800 pixels wide with Lanczos3 resampling, and
// written as a quality-90 JPEG file, against
//   convert -limit thread 1 in.jpg -filter Lanczos -resize 800x -quality 90 out.jpg
//   vips resize in.jpg out.jpg[Q=90] 0.2
// on the same file in the same run (vips reads the whole image: no shrink on
// load). Our road is the object's own pieces in its order (the JPEG decode of
// the load road, the resize driver with resampling on, the JPEG encoder), as
// the object's Resize is not wired yet. Times are medians of several runs by
// the wall clock; the peers' include starting their process. Peak memory is
// the resident peak a fresh child adds doing the road once (ours), or the
// peer process' whole resident peak. The target: at most one decoded image,
// the output image and 20 %.
//
// Usage: thumbnail_road_bench [runs]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/resize.h"
#include "jpeg/jpeg_codec.h"
#include "platform/bitmap.h"

namespace {

namespace fs = std::filesystem;
using pk::bench::Median;
using pk::bench::Milliseconds;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kThumbWidth = 800;
constexpr int kThumbHeight = kThumbWidth * kHeight / kWidth;
constexpr uint8_t kLanczos3 = 5;

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A photograph-sized picture, as a quality-90 JPEG.
void WriteSource(const fs::path& path) {
  WriteBytes(path, pk::EncodeJpeg(pk::bench::CameraPicture(kWidth, kHeight), pk::JpegEncodeOptions{}));
}

void OurRoad(const fs::path& source, const fs::path& target) {
  std::ifstream in(source, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  pk::TBitmap image;
  pk::DecodeJpeg(bytes, {}, {}, image);
  std::unique_ptr<pk::TBitmap> thumbnail;
  pk::ResizeBitmap(kThumbWidth, kThumbHeight, thumbnail, image, true, kLanczos3);
  image = pk::TBitmap();  // the road holds one decoded image at a time
  pk::JpegEncodeOptions options;
  options.quality = 90;
  WriteBytes(target, pk::EncodeJpeg(*thumbnail, options));
}

struct Figures {
  double ms = -1;
  double peak_mib = -1;
};

Figures TimeOurs(const fs::path& source, const fs::path& target, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    OurRoad(source, target);
    times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
  }
  return {Median(times), pk::bench::ChildPeakMiB([&] { OurRoad(source, target); })};
}

// Runs a peer program once; its wall time in ms and its resident peak in MiB,
// or a negative time when it could not run or failed.
Figures RunPeerOnce(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return {ms, usage.ru_maxrss / 1024.0};
}

Figures TimePeer(const std::vector<std::string>& argv, int runs) {
  std::vector<double> times;
  double peak = 0;
  for (int i = 0; i < runs; ++i) {
    const Figures once = RunPeerOnce(argv);
    if (once.ms < 0) return {};
    times.push_back(once.ms);
    peak = std::max(peak, once.peak_mib);
  }
  return {Median(times), peak};
}

void Print(const char* name, const Figures& figures) {
  if (figures.ms < 0) {
    std::printf("%-44s not available or failed\n", name);
  } else {
    std::printf("%-44s %9.1f %9.1f\n", name, figures.ms, figures.peak_mib);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const fs::path folder = fs::temp_directory_path() / ("pixmarl_thumbnail_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path source = folder / "camera.jpg";
  WriteSource(source);
  const std::string in = source.string();

  const Figures ours = TimeOurs(source, folder / "ours.jpg", runs);
  const Figures magick = TimePeer({"/usr/bin/convert", "-limit", "thread", "1", in, "-filter", "Lanczos", "-resize",
                                   "800x", "-quality", "90", (folder / "magick.jpg").string()},
                                  runs);
  const Figures vips = TimePeer({"vips", "resize", in, (folder / "vips.jpg").string() + "[Q=90]", "0.2"}, runs);
  const double file_mib = static_cast<double>(fs::file_size(source)) / (1 << 20);
  fs::remove_all(folder);

  const double decoded_mib = kWidth * 3.0 * kHeight / (1 << 20);
  const double output_mib = kThumbWidth * 3.0 * kThumbHeight / (1 << 20);
  std::printf("12-megapixel JPEG (%d x %d, %.1f MiB file) to %d x %d at quality 90, median of %d runs\n", kWidth,
              kHeight, file_mib, kThumbWidth, kThumbHeight, runs);
  std::printf("%-44s %9s %9s\n", "", "ms", "peak MiB");
  Print("ours: decode, Lanczos3 resize, encode", ours);
  Print("convert -limit thread 1 -filter Lanczos", magick);
  Print("vips resize 0.2 (no shrink on load)", vips);
  std::printf("peak target (decoded image + output + 20%%): %.1f MiB\n", (decoded_mib + output_mib) * 1.2);
  return 0;
}
