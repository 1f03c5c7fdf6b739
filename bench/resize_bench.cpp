// The resize road: a 12-megapixel 24-bit photograph-sized image to 800 pixels
// wide, resampled in steps with Triangle and with Lanczos3 (the filter types
// 1 and 5 clients pass) and stretched without resampling (halftone area
// averaging). The rate counts source megapixels per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "core/resize.h"
#include "platform/bitmap.h"

namespace {

constexpr int kSourceWidth = 4000;
constexpr int kSourceHeight = 3000;
constexpr int kTargetWidth = 800;
constexpr int kTargetHeight = kTargetWidth * kSourceHeight / kSourceWidth;

// Smooth gradients with fine noise on top, so neither the kernels nor the
// averaging meet a flat image.
const pk::TBitmap& Source() {
  static const pk::TBitmap source = [] {
    pk::TBitmap b(kSourceWidth, kSourceHeight, pk::PixelFormat::pf24bit);
    uint32_t noise = 12345;
    for (int y = 0; y < kSourceHeight; ++y) {
      uint8_t* row = b.ScanLine(y);
      for (int x = 0; x < kSourceWidth; ++x, row += 3) {
        noise = noise * 1664525u + 1013904223u;
        row[0] = static_cast<uint8_t>(x * 255 / kSourceWidth + (noise >> 28));
        row[1] = static_cast<uint8_t>(y * 255 / kSourceHeight + (noise >> 29));
        row[2] = static_cast<uint8_t>((x + y) / 28 + (noise >> 30));
      }
    }
    return b;
  }();
  return source;
}

void Resize(benchmark::State& state, bool resample, uint8_t filter_type) {
  pk::TBitmap source(Source());
  std::unique_ptr<pk::TBitmap> dest;
  for (auto _ : state) {
    pk::ResizeBitmap(kTargetWidth, kTargetHeight, dest, source, resample, filter_type);
    benchmark::DoNotOptimize(dest->ScanLine(0));
  }
  state.counters["MP/s"] = benchmark::Counter(kSourceWidth * double{kSourceHeight} / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ResizeTriangle(benchmark::State& state) { Resize(state, true, 1); }
void BM_ResizeLanczos3(benchmark::State& state) { Resize(state, true, 5); }
void BM_ResizeUnresampled(benchmark::State& state) { Resize(state, false, 0); }

BENCHMARK(BM_ResizeTriangle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ResizeLanczos3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ResizeUnresampled)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
