#include "core/resolution.h"

#include <algorithm>

#include "platform/numeric.h"

namespace pk {

namespace {

// A long-double literal: in the x86 build the constant keeps its full 80-bit
// precision instead of a double's rounding of it.
constexpr Extended kDpmPerDpi = 39.37007874L;

// Far outside the 32-bit range yet inside Round's, so clamping before the
// rounding keeps the result's clamp exact.
int32_t RoundClamped(Extended value) {
  return ClampToInt32(Round(std::clamp<Extended>(value, -1e12, 1e12)));
}

}  // namespace

int32_t DpiToDpm(int32_t dpi) { return RoundClamped(static_cast<Extended>(dpi) * kDpmPerDpi); }

int32_t DpmToDpi(int32_t dpm) { return RoundClamped(static_cast<Extended>(dpm) / kDpmPerDpi); }

}  // namespace pk
