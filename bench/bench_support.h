// What the benchmarks share: one photograph-like test picture, so every
// benchmark measures the same content, and the figures they report.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "platform/bitmap.h"

namespace pk::bench {

// A 24-bit picture of smooth gradients with fine noise on top: compressible
// like a photograph, with many distinct colours.
TBitmap CameraPicture(int width, int height);

double Milliseconds(std::chrono::steady_clock::duration d);

double Median(std::vector<double> values);

// The resident peak, in whole MiB, that a fresh child process adds while it
// runs `road` once; -1 when the child failed.
double ChildPeakMiB(const std::function<void()>& road);

}  // namespace pk::bench
