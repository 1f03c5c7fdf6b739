// Resolution of JPEG files: the JFIF APP0 density and the dots per inch the
// image classes keep, both ways, and the density patch of saved files.
//
// Two rules guard the 16-bit DPI fields: a conversion whose result falls
// outside 0..65535 (a dots-per-centimetre density above 25801) counts as no
// resolution, 0, instead of wrapping; and no resolution is written as unit 0
// with a 1:1 aspect, because JFIF forbids zero densities.
#pragma once

#include <cstdint>
#include <vector>

namespace pk {

inline constexpr double kInchesPerMetre = 39.37007874;

// How a dots-per-centimetre density becomes DPI: the x86 class multiplies by
// 2.54, the x86-64 class divides by 0.3937007874 (the same value for every
// density a file can hold, rounded).
enum class CentimetreRule { times_2_54, over_0_3937 };

// Unit 1: the density as stored; unit 2: converted by the rule; otherwise 0.
uint16_t DpiFromDensity(int unit, int density, CentimetreRule rule);

// Pixels per metre of a bitmap from DPI and back, rounded half to even.
uint32_t PelsPerMetreFromDpi(uint16_t dpi);
uint16_t DpiFromPelsPerMetre(uint32_t pels_per_metre);
// A bitmap's pixels per metre from a JFIF density: unit 1 Round(d × 39.37...),
// unit 2 d × 100, otherwise 0.
uint32_t PelsPerMetreFromDensity(int unit, int density);

struct JfifDensity {
  int unit;
  int x;
  int y;
};

// Unit 1 with the two values; unit 0, 1:1 when both are 0.
JfifDensity DensityForDpi(uint16_t x_dpi, uint16_t y_dpi);

// Writes DensityForDpi into the JFIF APP0 when one sits right after SOI;
// other data are left alone. Returns whether it patched.
bool PatchJfifDensity(std::vector<uint8_t>& jpeg, uint16_t x_dpi, uint16_t y_dpi);

}  // namespace pk
