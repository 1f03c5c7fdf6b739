// The reconstruction kernels of the resampler and the table that names them.
// A kernel maps a distance t (in source pixels) to a weight; every kernel is
// symmetric except the box at its half points, and exactly 0 at and beyond its
// support. Weights are single precision, as the resampler sums them. The
// table's index is the filter type that callers pass (0 to 6).
#pragma once

#include <array>
#include <string>

namespace pk {

using TFilterProc = float (*)(float t);

struct TResampleFilter {
  std::string Name;
  TFilterProc Filter;
  float Support;  // half-width of the kernel in source pixels
};

float BoxKernel(float t);
float TriangleKernel(float t);
float HermiteKernel(float t);
float BellKernel(float t);
float BSplineKernel(float t);
float Lanczos3Kernel(float t);
float MitchellKernel(float t);
// sin(pi x)/(pi x), with pi x taken in single precision first: at a non-zero
// integer the value is a tiny non-zero number, not 0.
float SincValue(float x);

extern const std::array<TResampleFilter, 7> ResampleFilterTable;

}  // namespace pk
