// The geometry and colour members: crop, flips, resizes, grey, negative and
// colour depth. Each builds its result aside and hands it to the state with
// the matching change of an alpha channel, so a failure leaves the image and
// its channel as they were. Sizes that clients compute from their own longs
// are taken in 64 bits and checked against the bitmap limit before anything
// is allocated.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "automation/image_functions.h"
#include "automation/messages.h"
#include "core/colour_depth.h"
#include "core/crop.h"
#include "core/flip.h"
#include "core/greyscale.h"
#include "core/invert.h"
#include "core/resize.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"

namespace pk {

namespace {

// The resize driver's filter-table entry the members use.
constexpr uint8_t kMemberFilter = 1;

}  // namespace

void TImageFunctions::Crop(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  const int64_t left = std::min(X1, X2), right = std::max(X1, X2);
  const int64_t top = std::min(Y1, Y2), bottom = std::max(Y1, Y2);
  // The fill colour must exist in a paletted image's palette to be painted.
  EnsurePaletteColours({settings_.FTransparentColour});
  TBitmap cropped = CroppedRectangle(state_.Image(), left, top, right, bottom, settings_.FTransparentColour);
  const uint8_t extra = settings_.FExtraAlphaValue;
  state_.Change(std::move(cropped), [&](TAlpha& alpha) { alpha.Crop(X1, Y1, X2, Y2, extra); });
}

void TImageFunctions::FlipX() {
  TBitmap flipped(state_.Image());
  FlipTopToBottom(flipped);
  state_.Change(std::move(flipped), [](TAlpha& alpha) { alpha.FlipX(); });
}

void TImageFunctions::FlipY() {
  TBitmap flipped(state_.Image());
  FlipLeftToRight(flipped);
  state_.Change(std::move(flipped), [](TAlpha& alpha) { alpha.FlipY(); });
}

void TImageFunctions::Resize(int32_t Xnew, int32_t Ynew) {
  int64_t width = std::max(Xnew, 0), height = std::max(Ynew, 0);
  const TBitmap& image = state_.Image();
  if ((width == 0 && height == 0) || image.Height() == 0) return;
  // The side left at 0 follows the aspect ratio; an image 0 pixels wide has none.
  if (width == 0) width = height * image.Width() / image.Height();
  if (height == 0) height = Div<int64_t>(width * image.Height(), image.Width());
  ResizeTo(width, height);
}

void TImageFunctions::ResizeFit(int32_t MaxWidth, int32_t MaxHeight) {
  if (MaxWidth == 0 || MaxHeight == 0) throw EInvalidGraphic(msg::kMaxSizeZero);
  const TBitmap& image = state_.Image();
  // Never enlarged.
  if (MaxWidth >= image.Width() && MaxHeight >= image.Height()) return;
  if (double(image.Width()) / MaxWidth > double(image.Height()) / MaxHeight)
    Resize(MaxWidth, 0);
  else
    Resize(0, MaxHeight);
}

void TImageFunctions::Scale(int32_t Factor) {
  const TBitmap& image = state_.Image();
  if (Factor <= 0 || image.Width() == 0) return;
  ResizeTo(int64_t{Factor} * image.Width() / 100, int64_t{Factor} * image.Height() / 100);
}

void TImageFunctions::ResizeTo(int64_t Width, int64_t Height) {
  const bool resample = settings_.FResample;
  const TBitmap& image = state_.Image();
  // A computed height of 0 fails in the driver with its division error; a
  // size past the bitmap limit fails here, before anything is allocated.
  CheckedBitmapBytes(Width, Height, resample ? PixelFormat::pf24bit : image.GetPixelFormat());
  const int width = static_cast<int>(Width), height = static_cast<int>(Height);
  TBitmap source(image);
  std::unique_ptr<TBitmap> resized;
  ResizeBitmap(width, height, resized, source, resample, kMemberFilter);
  state_.Change(std::move(*resized), [&](TAlpha& alpha) { alpha.Resize(width, height, resample, kMemberFilter); });
}

void TImageFunctions::Grayscale() {
  TBitmap grey;
  MakeGreyscale(state_.Image(), grey);
  // The alpha record stays as it is: the size did not change.
  state_.Change(std::move(grey), [](TAlpha&) {});
  settings_.FJpegGrayscale = true;
}

void TImageFunctions::Invert() {
  FlattenAlpha();
  TBitmap inverted(state_.Image());
  InvertBitmap(inverted, 0, 0, 0, 0, false);
  state_.Change(std::move(inverted), [](TAlpha&) {});
}

void TImageFunctions::SetColorDepth(int32_t Value) {
  FlattenAlpha();
  const PixelFormat target = FormatOfDepth(Value);
  const TBitmap& image = state_.Image();
  const int bits = image.BitCount();
  if (BitsPerPixel(target) < bits) {
    TBitmap reduced;
    // One bit comes from sixteen colours, whatever the image had.
    if (target == PixelFormat::pf1bit && image.GetPixelFormat() != PixelFormat::pf4bit) {
      TBitmap sixteen;
      SetColourDepth(image, sixteen, PixelFormat::pf4bit);
      SetColourDepth(sixteen, reduced, target);
    } else {
      SetColourDepth(image, reduced, target);
    }
    state_.Change(std::move(reduced), [](TAlpha&) {});
  } else if (BitsPerPixel(target) > bits) {
    TBitmap widened;
    ChangePixelFormat(image, widened, target);
    state_.Change(std::move(widened), [](TAlpha&) {});
  }
  settings_.FJpegGrayscale = false;
}

}  // namespace pk
