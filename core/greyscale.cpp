// MakeGreyscale reads every source through a 24-bit copy, so palette images of
// any depth average the colours their indexes stand for.
#include "core/greyscale.h"

#include "core/bitmap_copy.h"
#include "platform/palette.h"

namespace pk {

void MakeGreyscale(const TBitmap& Source, TBitmap& Dest) {
  TBitmap colour;
  CopyBitmapExact(Source, colour);
  colour.SetPixelFormat(PixelFormat::pf24bit);
  TBitmap grey(colour.Width(), colour.Height(), PixelFormat::pf8bit);
  grey.SetColorTable(GreyPalette());
  for (int y = 0; y < grey.Height(); ++y) {
    const uint8_t* from = colour.ScanLine(y);
    uint8_t* to = grey.ScanLine(y);
    for (int x = 0; x < grey.Width(); ++x, from += 3) to[x] = static_cast<uint8_t>((from[0] + from[1] + from[2]) / 3);
  }
  Dest.Assign(grey);
}

}  // namespace pk
