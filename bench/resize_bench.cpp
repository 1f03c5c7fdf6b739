// The resize road: a 12-megapixel 24-bit photograph-sized image to 800 pixels
// wide, resampled in steps with Triangle and with Lanczos3 (the filter types
// 1 and 5 clients pass) and stretched without resampling (halftone area
// averaging). The rate counts source megapixels per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "bench_support.h"
#include "core/resize.h"
#include "platform/bitmap.h"

namespace {

constexpr int kSourceWidth = 4000;
constexpr int kSourceHeight = 3000;
constexpr int kTargetWidth = 800;
constexpr int kTargetHeight = kTargetWidth * kSourceHeight / kSourceWidth;

// The camera picture: neither the kernels nor the averaging meet a flat image.
const pk::TBitmap& Source() {
  static const pk::TBitmap source = pk::bench::CameraPicture(kSourceWidth, kSourceHeight);
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
