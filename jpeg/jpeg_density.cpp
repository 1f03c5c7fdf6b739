#include "jpeg/jpeg_density.h"

#include <algorithm>

#include "platform/numeric.h"

namespace pk {
namespace {

uint16_t DpiOrNone(double value) {
  const int64_t rounded = Round(value);
  return rounded < 0 || rounded > 0xFFFF ? 0 : static_cast<uint16_t>(rounded);
}

// SOI, then APP0 of length 16 or more whose identifier is "JFIF\0": the unit
// sits at offset 13, the densities at 14 and 16, high byte first.
constexpr size_t kJfifUnitOffset = 13;
constexpr uint8_t kJfifStart[] = {0xFF, 0xD8, 0xFF, 0xE0};
constexpr uint8_t kJfifIdentifier[] = {'J', 'F', 'I', 'F', 0};

bool HasJfifApp0First(const std::vector<uint8_t>& jpeg) {
  if (jpeg.size() < 20 || !std::equal(std::begin(kJfifStart), std::end(kJfifStart), jpeg.begin())) return false;
  const int length = jpeg[4] << 8 | jpeg[5];
  return length >= 16 && std::equal(std::begin(kJfifIdentifier), std::end(kJfifIdentifier), jpeg.begin() + 6);
}

}  // namespace

uint16_t DpiFromDensity(int unit, int density, CentimetreRule rule) {
  if (unit == 1) return static_cast<uint16_t>(density);
  if (unit != 2) return 0;
  return DpiOrNone(rule == CentimetreRule::times_2_54 ? density * 2.54 : density / 0.3937007874);
}

uint32_t PelsPerMetreFromDpi(uint16_t dpi) { return static_cast<uint32_t>(Round(dpi * kInchesPerMetre)); }

uint16_t DpiFromPelsPerMetre(uint32_t pels_per_metre) { return DpiOrNone(pels_per_metre / kInchesPerMetre); }

uint32_t PelsPerMetreFromDensity(int unit, int density) {
  if (unit == 1) return PelsPerMetreFromDpi(static_cast<uint16_t>(density));
  if (unit == 2) return static_cast<uint32_t>(density) * 100;
  return 0;
}

JfifDensity DensityForDpi(uint16_t x_dpi, uint16_t y_dpi) {
  if (x_dpi == 0 && y_dpi == 0) return {0, 1, 1};
  return {1, x_dpi, y_dpi};
}

bool PatchJfifDensity(std::vector<uint8_t>& jpeg, uint16_t x_dpi, uint16_t y_dpi) {
  if (!HasJfifApp0First(jpeg)) return false;
  const JfifDensity density = DensityForDpi(x_dpi, y_dpi);
  const uint8_t fields[] = {static_cast<uint8_t>(density.unit),
                            static_cast<uint8_t>(density.x >> 8), static_cast<uint8_t>(density.x),
                            static_cast<uint8_t>(density.y >> 8), static_cast<uint8_t>(density.y)};
  std::copy(std::begin(fields), std::end(fields), jpeg.begin() + kJfifUnitOffset);
  return true;
}

}  // namespace pk
