// MakeGreyscale reads every source as colour triples, so palette images of any
// depth average the colours their indexes stand for.
#include "core/greyscale.h"

#include <vector>

#include "platform/palette.h"
#include "platform/pixel_rows.h"

namespace pk {

void MakeGreyscale(const TBitmap& Source, TBitmap& Dest) {
  const int width = Source.Width();
  TBitmap grey(width, Source.Height(), PixelFormat::pf8bit);
  grey.SetColorTable(GreyPalette());
  const BgrReader reader(Source);
  std::vector<uint8_t> bgr(3 * static_cast<size_t>(width));
  for (int y = 0; y < grey.Height(); ++y) {
    reader.Read(Source.ScanLine(y), 0, width, bgr.data());
    const uint8_t* from = bgr.data();
    uint8_t* to = grey.ScanLine(y);
    for (int x = 0; x < width; ++x, from += 3) to[x] = static_cast<uint8_t>((from[0] + from[1] + from[2]) / 3);
  }
  Dest = std::move(grey);
}

}  // namespace pk
