// A scope in which Extended arithmetic keeps its full precision.
//
// In the 32-bit build Extended is the x87 80-bit type, but the x87 unit rounds
// every result to the precision its control word names, and Windows starts
// threads (so the host process that loads the DLL) at a 53-bit mantissa: left
// alone, long double arithmetic rounds like a double. The scope sets the
// 64-bit mantissa and gives the caller's control word back on the way out.
//
// The compiler does not see the control word, so it could move arithmetic
// across the switch: operands enter through Operand() and results leave
// through Result(), whose empty volatile statements keep their order relative
// to the switch and pin the arithmetic between them.
//
// Elsewhere Extended is a double and the scope does nothing.
#pragma once

#include <cstdint>

#include "platform/numeric.h"

namespace pk {

#if defined(_WIN32) && !defined(_WIN64)

class ExtendedPrecision {
 public:
  ExtendedPrecision() {
    __asm__ volatile("fnstcw %0" : "=m"(saved_) : : "memory");
    const uint16_t full = saved_ | kPrecisionControl;  // 11: 64-bit mantissa
    __asm__ volatile("fldcw %0" : : "m"(full) : "memory");
  }
  ~ExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(saved_) : "memory"); }
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

  Extended Operand(Extended value) const {
    __asm__ volatile("" : "+t"(value));
    return value;
  }
  template <typename T>
  T Result(T value) const {
    __asm__ volatile("" : "+r"(value));
    return value;
  }

 private:
  static constexpr uint16_t kPrecisionControl = 0x0300;
  uint16_t saved_ = 0;
};

#else

class ExtendedPrecision {
 public:
  Extended Operand(Extended value) const { return value; }
  template <typename T>
  T Result(T value) const {
    return value;
  }
};

#endif

}  // namespace pk
