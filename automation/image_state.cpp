#include "automation/image_state.h"

#include <algorithm>
#include <utility>

#include "automation/messages.h"
#include "core/overlay_merge.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

int32_t DepthOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::pf1bit: return 1;
    case PixelFormat::pf4bit: return 4;
    case PixelFormat::pf8bit: return 8;
    default: return 24;
  }
}

}  // namespace

TImageState::TImageState() : alpha_(std::make_unique<TAlpha>()) { transparent_array_.fill(255); }

TImageState::~TImageState() = default;

void TImageState::Replace(TBitmap image, std::unique_ptr<TAlpha> alpha) {
  if (alpha && alpha->TransparencyType() == TTransparencyType::ttAlpha &&
      (alpha->Width() != image.Width() || alpha->Height() != image.Height())) {
    throw EInvalidGraphic(msg::kAlphaSizeMismatch);
  }
  const int32_t depth = DepthOf(image.GetPixelFormat());
  if (depth == 24) {
    image.SetPixelFormat(PixelFormat::pf24bit);
    // A palette left over from a paletted source would make later writers and
    // palette members treat the image as paletted.
    image.ReleasePalette();
  }
  Clear();
  image_ = std::move(image);
  colour_depth_ = depth;
  if (!alpha) return;
  if (alpha->TransparencyType() == TTransparencyType::ttPalette) {
    transparent_palette_ = true;
    // Entries 0 to ArraySize, as far as the array reaches.
    const size_t count = std::min<size_t>(size_t{alpha->ArraySize()} + 1, transparent_array_.size());
    std::copy_n(alpha->TransparentArray().begin(), count, transparent_array_.begin());
  }
  alpha_ = std::move(alpha);
}

void TImageState::Clear() {
  image_ = TBitmap();
  alpha_->Reset();
  transparent_palette_ = false;
  transparent_array_.fill(255);
}

void TImageState::FlattenAlphaOnto(TColor background) {
  CombineAlphaWithColour(image_, *alpha_, background);
  alpha_->Reset();
}

}  // namespace pk
