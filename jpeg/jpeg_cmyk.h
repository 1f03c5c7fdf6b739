// CMYKToRGB: the one conversion of CMYK (and YCCK, which libjpeg turns into
// CMYK) pixels to RGB that both JPEG classes use. Callers pass the inks as
// 255 minus the stored bytes: JPEG files store CMYK inverted, the way the
// common editors write it, and every CMYK file is read that way.
#pragma once

#include <cstdint>


namespace pk {

struct RGBTriple {
  uint8_t red, green, blue;
};

// For X each of C, M, Y: v = Round(X / 255 × (255 − K) + K), at most 255, and
// the channel is 255 − v (red from C, green from M, blue from Y).
RGBTriple CMYKToRGB(uint8_t c, uint8_t m, uint8_t y, uint8_t k);

// A row of stored CMYK bytes (4 a pixel) to blue, green, red (3 a pixel).
void InvertedCmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width);

}  // namespace pk
