// The seven kernels and their table. Each kernel computes in double and
// rounds its result to single precision once, at the end.
#include "core/resample_filters.h"

#include <cmath>
#include <numbers>

namespace pk {

float BoxKernel(float t) { return (t > -0.5f && t <= 0.5f) ? 1.0f : 0.0f; }

float TriangleKernel(float t) {
  const double a = std::fabs(t);
  return a < 1 ? static_cast<float>(1 - a) : 0.0f;
}

float HermiteKernel(float t) {
  const double a = std::fabs(t);
  return a < 1 ? static_cast<float>((2 * a - 3) * a * a + 1) : 0.0f;
}

float BellKernel(float t) {
  const double a = std::fabs(t);
  if (a < 0.5) return static_cast<float>(0.75 - a * a);
  if (a < 1.5) return static_cast<float>(0.5 * (a - 1.5) * (a - 1.5));
  return 0.0f;
}

float BSplineKernel(float t) {
  const double a = std::fabs(t);
  if (a < 1) return static_cast<float>(0.5 * a * a * a - a * a + 2.0 / 3.0);
  if (a < 2) return static_cast<float>((2 - a) * (2 - a) * (2 - a) / 6);
  return 0.0f;
}

float SincValue(float x) {
  if (x == 0) return 1.0f;
  const double y = static_cast<float>(std::numbers::pi * x);
  return static_cast<float>(std::sin(y) / y);
}

float Lanczos3Kernel(float t) {
  const float a = std::fabs(t);
  return a < 3 ? static_cast<float>(double{SincValue(a)} * SincValue(a / 3)) : 0.0f;
}

float MitchellKernel(float t) {
  // The Mitchell-Netravali cubic with B = C = 1/3.
  const double a = std::fabs(t);
  if (a < 1) return static_cast<float>((7 * a * a * a - 12 * a * a + 16.0 / 3.0) / 6);
  if (a < 2) return static_cast<float>((-7.0 / 3.0 * a * a * a + 12 * a * a - 20 * a + 32.0 / 3.0) / 6);
  return 0.0f;
}

const std::array<TResampleFilter, 7> ResampleFilterTable = {{
    {"Box", BoxKernel, 0.5f},
    {"Triangle", TriangleKernel, 1.0f},
    {"Hermite", HermiteKernel, 1.0f},
    {"Bell", BellKernel, 1.5f},
    {"B-Spline", BSplineKernel, 2.0f},
    {"Lanczos3", Lanczos3Kernel, 3.0f},
    {"Mitchell", MitchellKernel, 2.0f},
}};

}  // namespace pk
