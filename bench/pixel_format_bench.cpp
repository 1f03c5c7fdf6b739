// Pixel format conversions of a 12-megapixel image: 32 to 24 bits (the road
// every decoded photograph with alpha takes), 24 to 8 bits (nearest entry of
// the default palette), 8 and 1 bits up to 24. The source is copied outside
// the timed part; the rate counts megapixels per second. The allocation of a
// zeroed 32-bit bitmap of the same size is the floor of every widening
// conversion, which needs a new buffer.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/palette.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Gradients with noise, so the nearest-colour memo meets many colours.
pk::TBitmap Source(pk::PixelFormat format) {
  pk::TBitmap b(kWidth, kHeight, pk::PixelFormat::pf32bit);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < kWidth; ++x, row += 4) {
      noise = noise * 1664525u + 1013904223u;
      row[0] = static_cast<uint8_t>(x * 255 / kWidth + (noise >> 28));
      row[1] = static_cast<uint8_t>(y * 255 / kHeight + (noise >> 29));
      row[2] = static_cast<uint8_t>((x + y) / 28 + (noise >> 30));
      row[3] = 255;
    }
  }
  if (format == pk::PixelFormat::pf8bit || format == pk::PixelFormat::pf1bit) {
    // Through 24 bits, then onto a full table, so every index is in use.
    b.SetPixelFormat(pk::PixelFormat::pf24bit);
    b.SetPixelFormat(format);
    if (format == pk::PixelFormat::pf8bit) b.SetColorTable(pk::GreyPalette());
  } else {
    b.SetPixelFormat(format);
  }
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
