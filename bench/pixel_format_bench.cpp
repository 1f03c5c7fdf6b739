// Pixel format conversions of a 12-megapixel image: 32 to 24 bits (the road
// every decoded photograph with alpha takes), 24 to 8 bits (nearest entry of
// the default palette), 8 and 1 bits up to 24. The source is copied outside
// the timed part; the rate counts megapixels per second. The allocation of a
// zeroed 32-bit bitmap of the same size is the floor of every widening
// conversion, which needs a new buffer.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_support.h"
#include "platform/bitmap.h"
#include "platform/palette.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// The camera picture's many colours keep the nearest-colour memo busy.
pk::TBitmap Source(pk::PixelFormat format) {
  pk::TBitmap b = pk::bench::CameraPicture(kWidth, kHeight);
  b.SetPixelFormat(format);
  // A full table, so every index of the 8-bit source is in use.
  if (format == pk::PixelFormat::pf8bit) b.SetColorTable(pk::GreyPalette());
  return b;
}

void Convert(benchmark::State& state, pk::PixelFormat from, pk::PixelFormat to) {
  const pk::TBitmap source = Source(from);
  pk::TBitmap work;
  for (auto _ : state) {
    state.PauseTiming();
    work.Assign(source);
    state.ResumeTiming();
    work.SetPixelFormat(to);
    benchmark::DoNotOptimize(work.ScanLine(0));
  }
  state.counters["MP/s"] =
      benchmark::Counter(kWidth * double{kHeight} / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Allocate32(benchmark::State& state) {
  for (auto _ : state) {
    pk::TBitmap b(kWidth, kHeight, pk::PixelFormat::pf32bit);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}

void BM_Convert32To24(benchmark::State& s) { Convert(s, pk::PixelFormat::pf32bit, pk::PixelFormat::pf24bit); }
void BM_Convert24To32(benchmark::State& s) { Convert(s, pk::PixelFormat::pf24bit, pk::PixelFormat::pf32bit); }
void BM_Convert24To8(benchmark::State& s) { Convert(s, pk::PixelFormat::pf24bit, pk::PixelFormat::pf8bit); }
void BM_Convert8To24(benchmark::State& s) { Convert(s, pk::PixelFormat::pf8bit, pk::PixelFormat::pf24bit); }
void BM_Convert1To24(benchmark::State& s) { Convert(s, pk::PixelFormat::pf1bit, pk::PixelFormat::pf24bit); }

BENCHMARK(BM_Allocate32)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert32To24)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert24To32)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert24To8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert8To24)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert1To24)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
