// JPEG decode and encode of a 12-megapixel photograph-sized image against the
// command-line tools of the same library, run on the same files in the same
// run: djpeg (integer DCT, output to /dev/null) for decoding, cjpeg at quality
// 90 for encoding. The tools' times include starting a process and reading
// their input; ours start from bytes and a bitmap in memory. Peak memory is
// best read per benchmark with /usr/bin/time -v and --benchmark_filter.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "jpeg/jpeg_codec.h"
#include "jpeg/jpeg_flavour.h"
#include "platform/bitmap.h"
#include "platform/stream.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// The camera picture, written as PPM for cjpeg and as JPEG (by cjpeg,
// quality 90) for the decoders.
struct Files {
  fs::path folder = fs::temp_directory_path() / "pixmarl-jpeg-bench";
  fs::path ppm = folder / "camera.ppm";
  fs::path jpeg = folder / "camera.jpg";
  pk::TBitmap bitmap = pk::bench::CameraPicture(kWidth, kHeight);
  std::vector<uint8_t> jpeg_bytes;

  Files() {
    fs::create_directories(folder);
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
    // The bitmap's rows are blue, green, red; the PPM's red, green, blue.
    std::vector<uint8_t> rgb(kWidth * 3);
    for (int y = 0; y < kHeight; ++y) {
      const uint8_t* row = bitmap.ScanLine(y);
      for (int x = 0; x < kWidth; ++x) {
        rgb[x * 3] = row[x * 3 + 2];
        rgb[x * 3 + 1] = row[x * 3 + 1];
        rgb[x * 3 + 2] = row[x * 3];
      }
      out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    }
    out.close();
    Run("cjpeg -quality 90 -outfile " + jpeg.string() + " " + ppm.string());
    std::ifstream in(jpeg, std::ios::binary);
    jpeg_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();
  }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

void SetRate(benchmark::State& state) {
  state.counters["MP/s"] =
      benchmark::Counter(kWidth * double{kHeight} / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// A peer command timed by the wall clock.
void TimeCommand(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Files::Run(command);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  SetRate(state);
}

void DecodeOurs(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    pk::TBitmap bitmap;
    pk::DecodeJpeg(files.jpeg_bytes, {}, {}, bitmap);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  SetRate(state);
}

void DecodeThroughTheClass(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    pk::TbwJpeg jpeg;
    jpeg.LoadFromBytes(files.jpeg_bytes);
    pk::TBMPImage bitmap;
    jpeg.AssignTo(bitmap);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  SetRate(state);
}

void DecodeDjpeg(benchmark::State& state) {
  TimeCommand(state, "djpeg -dct int -outfile /dev/null " + TheFiles().jpeg.string());
}

void EncodeOurs(benchmark::State& state) {
  const Files& files = TheFiles();
  pk::JpegEncodeOptions options;
  options.quality = 90;
  for (auto _ : state) benchmark::DoNotOptimize(pk::EncodeJpeg(files.bitmap, options).data());
  SetRate(state);
}

void EncodeCjpeg(benchmark::State& state) {
  TimeCommand(state, "cjpeg -quality 90 -outfile /dev/null " + TheFiles().ppm.string());
}

BENCHMARK(DecodeOurs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecodeThroughTheClass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecodeDjpeg)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(EncodeOurs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EncodeCjpeg)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
