// Numeric rules of the component. The run time it was designed on rounded
// halves to even, wrapped integers silently and trapped divisions by zero;
// here every such spot is explicit: rounding is half to even, size arithmetic
// is checked in 64 bits, and a division by zero raises "Division by zero".
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {

// The "extended precision" type: 80-bit x87 in the 32-bit build, a double in
// the 64-bit build (and natively, which stands in for the 64-bit build).
#if defined(_WIN32) && !defined(_WIN64)
using Extended = long double;
#else
using Extended = double;
#endif

// Nearest integer, halves to even; raises EIntOverflow outside the 64-bit range.
template <typename F>
int64_t Round(F value) {
  if (!(std::fabs(value) < static_cast<F>(9.2e18))) throw EIntOverflow(msg::kIntegerOverflow);
  F whole = std::floor(value);
  const F diff = value - whole;
  if (diff > F(0.5) || (diff == F(0.5) && std::fmod(whole, F(2)) != 0)) whole += 1;
  return static_cast<int64_t>(whole);
}

// Towards zero; raises EIntOverflow outside the 64-bit range.
template <typename F>
int64_t Trunc(F value) {
  if (!(std::fabs(value) < static_cast<F>(9.2e18))) throw EIntOverflow(msg::kIntegerOverflow);
  return static_cast<int64_t>(value);
}

// Dividend / Divisor rounded to the nearest integer, halves to even, exactly
// (no floating point); Divisor must not be 0.
constexpr uint64_t RoundedQuotient(uint64_t Dividend, uint64_t Divisor) {
  uint64_t quotient = Dividend / Divisor;
  const uint64_t twice_remainder = 2 * (Dividend % Divisor);
  if (twice_remainder > Divisor || (twice_remainder == Divisor && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

// Clamps a 64-bit value into a 32-bit signed integer.
constexpr int32_t ClampToInt32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Checked 64-bit arithmetic for sizes: EIntOverflow instead of wrapping.
inline int64_t CheckedMul(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow(msg::kIntegerOverflow);
  return r;
}
inline int64_t CheckedAdd(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow(msg::kIntegerOverflow);
  return r;
}
// Narrows to int32, raising EIntOverflow when the value does not fit.
inline int32_t CheckedInt32(int64_t v) {
  if (v != ClampToInt32(v)) throw EIntOverflow(msg::kIntegerOverflow);
  return static_cast<int32_t>(v);
}

// Truncating integer division that traps a zero divisor and the one overflowing quotient.
template <typename I>
I Div(I a, I b) {
  if (b == 0) throw EDivByZero(msg::kDivisionByZero);
  if constexpr (std::is_signed_v<I>) {
    if (a == std::numeric_limits<I>::min() && b == -1) throw EIntOverflow(msg::kIntegerOverflow);
  }
  return a / b;
}
template <typename I>
I Mod(I a, I b) {
  if (b == 0) throw EDivByZero(msg::kDivisionByZero);
  if constexpr (std::is_signed_v<I>) {
    if (b == -1) return 0;
  }
  return a % b;
}
// Floor modulo: the result has the sign of b (a negative key or day count still
// lands inside a table).
template <typename I>
I FloorMod(I a, I b) {
  const I r = Mod(a, b);
  return (r != 0 && ((r < 0) != (b < 0))) ? r + b : r;
}

}  // namespace pk
