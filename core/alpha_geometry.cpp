// TAlpha's geometry: the channel follows its image through the same flip and
// resize procedures the image goes through, so both stay pixel for pixel in
// step. The resampled resize works on a 24-bit copy of the channel and only
// replaces the channel once the result is ready, so a failure leaves it as it
// was.
#include "core/alpha.h"
#include "core/bitmap_copy.h"
#include "core/flip.h"
#include "core/greyscale.h"
#include "core/resize.h"

namespace pk {

void TAlpha::FlipX() { FlipTopToBottom(*FAlphaChannel); }

void TAlpha::FlipY() { FlipLeftToRight(*FAlphaChannel); }

void TAlpha::Resize(int width, int height) {
  std::unique_ptr<TBitmap> resized;
  ResizeBitmap(width, height, resized, *FAlphaChannel, false, 0);
  FAlphaChannel = std::move(resized);
}

void TAlpha::Resize(int width, int height, bool resample, uint8_t filter_type) {
  TBitmap colour;
  CopyBitmapExact(*FAlphaChannel, colour);
  colour.SetPixelFormat(PixelFormat::pf24bit);
  std::unique_ptr<TBitmap> resized;
  ResizeBitmap(width, height, resized, colour, resample, filter_type);
  auto grey = std::make_unique<TBitmap>();
  MakeGreyscale(*resized, *grey);
  FAlphaChannel = std::move(grey);
}

}  // namespace pk
