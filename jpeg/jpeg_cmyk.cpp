#include "jpeg/jpeg_cmyk.h"

namespace pk {
namespace {

// Round(x / 255 × (255 − k) + k) in integers: the numerator over the odd
// divisor 255 never lands on a half, so rounding is plain to nearest.
uint8_t InkWithBlack(int x, int k) {
  const int numerator = x * (255 - k) + k * 255;
  const int v = numerator / 255 + (2 * (numerator % 255) > 255 ? 1 : 0);
  return static_cast<uint8_t>(255 - (v > 255 ? 255 : v));
}

}  // namespace

RGBTriple CMYKToRGB(uint8_t c, uint8_t m, uint8_t y, uint8_t k) {
  return {InkWithBlack(c, k), InkWithBlack(m, k), InkWithBlack(y, k)};
}

void InvertedCmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const RGBTriple rgb = CMYKToRGB(255 - cmyk[0], 255 - cmyk[1], 255 - cmyk[2], 255 - cmyk[3]);
    bgr[0] = rgb.blue;
    bgr[1] = rgb.green;
    bgr[2] = rgb.red;
  }
}

}  // namespace pk
