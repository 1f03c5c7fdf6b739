// BMP files made in memory, for tests that load pictures through the object.
#pragma once

#include <cstdint>
#include <vector>

#include "core/bmp_image.h"
#include "platform/bitmap.h"
#include "platform/stream.h"

namespace pk::test {

// The file the bitmap's own writer makes of it.
inline std::vector<uint8_t> EncodedBmp(TBitmap image) {
  TMemoryStream out;
  image.SaveToStream(out);
  return out.Release();
}

// A width x height picture of the given format whose every pixel differs from
// its neighbours (pixel x, y asked for RGB(40x, 60y, 20(x + y))), stored with
// the given resolution in pels per metre.
inline std::vector<uint8_t> GradientBmp(int width, int height, PixelFormat format, uint32_t x_ppm = 3780,
                                        uint32_t y_ppm = 3780) {
  TBMPImage image;
  image.SetPixelFormat(format);
  image.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixelColor(x, y, RGB(x * 40, y * 60, (x + y) * 20));
  }
  image.SetXPelsPerMeter(x_ppm);
  image.SetYPelsPerMeter(y_ppm);
  TMemoryStream out;
  image.SaveToStream(out);
  return out.Release();
}

}  // namespace pk::test
