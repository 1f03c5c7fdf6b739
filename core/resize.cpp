// The resize driver picks the road (step-wise resampling, one resampling step,
// or the platform's stretch) and builds the new bitmap aside: Dest is only
// replaced once the result stands, so a failure leaves it as it was.
#include "core/resize.h"

#include <algorithm>
#include <string>

#include "core/bitmap_copy.h"
#include "core/messages.h"
#include "core/resample.h"
#include "platform/canvas.h"
#include "platform/numeric.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// Each step of a reduction keeps this share of the previous size.
constexpr double kReductionStep = 0.6;

const TResampleFilter& FilterOfType(uint8_t FilterType) {
  if (FilterType >= ResampleFilterTable.size())
    throw ERangeError(msg::kInvalidFilterType + Utf8ToUtf16(std::to_string(FilterType)));
  return ResampleFilterTable[FilterType == 0 ? 1 : FilterType];
}

std::unique_ptr<TBitmap> ResampleOnce(int width, int height, TBitmap& Source, const TResampleFilter& filter) {
  auto result = std::make_unique<TBitmap>(width, height, PixelFormat::pf24bit);
  ResampleTwoPass(Source, *result, filter.Filter, filter.Support);
  return result;
}

// Shrinks by 0.6 a step until the next step would reach the target width; that
// step goes straight to the target. The chain also ends when a step no longer
// shrinks (a one-pixel-wide image), so a target width below 1 cannot loop.
// The source itself is never converted: a 24-bit one, which resampling leaves
// as it is, is read in place, any other through an exact copy.
std::unique_ptr<TBitmap> ResampleInSteps(int NewWidth, int NewHeight, TBitmap& Source,
                                         const TResampleFilter& filter) {
  std::unique_ptr<TBitmap> copy;
  TBitmap* current = &Source;
  if (Source.GetPixelFormat() != PixelFormat::pf24bit) {
    copy = std::make_unique<TBitmap>();
    CopyBitmapExact(Source, *copy);
    current = copy.get();
  }
  std::unique_ptr<TBitmap> result;
  int width = Source.Width();
  int height = Source.Height();
  for (bool last = false; !last;) {
    const auto next_width = static_cast<int>(Round(width * kReductionStep));
    const auto next_height = static_cast<int>(Round(height * kReductionStep));
    last = next_width <= std::max(NewWidth, 1) || next_width >= width;
    width = last ? NewWidth : next_width;
    height = last ? NewHeight : next_height;
    result = ResampleOnce(width, height, *current, filter);
    current = result.get();
  }
  return result;
}

// The platform's stretch of the kind each format needs; the result keeps the
// source's pixel format and palette.
std::unique_ptr<TBitmap> Stretch(int NewWidth, int NewHeight, const TBitmap& Source) {
  auto result = std::make_unique<TBitmap>();
  CopyBitmapLayout(Source, *result, NewWidth, NewHeight);
  TCanvas& canvas = result->Canvas();
  switch (Source.GetPixelFormat()) {
    case PixelFormat::pf24bit: canvas.Mode = StretchMode::Halftone; break;
    case PixelFormat::pf1bit: canvas.Mode = StretchMode::BlackOnWhite; break;
    default: canvas.Mode = StretchMode::ColorOnColor; break;
  }
  canvas.StretchDraw(Rect(0, 0, NewWidth, NewHeight), Source);
  return result;
}

}  // namespace

void ResizeBitmap(int NewWidth, int NewHeight, std::unique_ptr<TBitmap>& Dest, TBitmap& Source, bool Resample,
                  uint8_t FilterType) {
  // Worked out on every call, before Resample is looked at: a height of 0
  // fails here whether or not the image is resampled.
  const bool same_aspect = Div(NewWidth, NewHeight) == Div(Source.Width(), Source.Height());
  std::unique_ptr<TBitmap> result;
  if (!Resample) {
    result = Stretch(NewWidth, NewHeight, Source);
  } else if (same_aspect && NewWidth < Source.Width() && FilterType != 0) {
    result = ResampleInSteps(NewWidth, NewHeight, Source, FilterOfType(FilterType));
  } else {
    result = ResampleOnce(NewWidth, NewHeight, Source, FilterOfType(FilterType));
  }
  Dest = std::move(result);
}

}  // namespace pk
