// TImageState: the automation object's current image with what belongs to it
// (its alpha record, its colour depth and the per-index transparency a loaded
// PNG carried). Only the operations below change them, and each keeps the
// invariants the members rely on:
//  - the image and the alpha record always exist (an empty bitmap when nothing
//    is loaded);
//  - an image taken in is 1, 4, 8 or 24 bits per pixel, and ColourDepth says
//    which: every other format becomes 24 bits without a palette;
//  - a ttAlpha record's channel has the image's size;
//  - a new image forgets the previous one's transparency.
#pragma once

#include <cstdint>
#include <memory>

#include "core/alpha.h"
#include "platform/bitmap.h"

namespace pk {

class TImageState {
 public:
  TImageState();
  ~TImageState();
  TImageState(const TImageState&) = delete;
  TImageState& operator=(const TImageState&) = delete;

  const TBitmap& Image() const { return image_; }
  const TAlpha& Alpha() const { return *alpha_; }
  // 1, 4, 8 or 24. Kept by Clear: for an empty image it is the depth the
  // next new canvas takes.
  int32_t ColourDepth() const { return colour_depth_; }
  bool TransparentPalette() const { return transparent_palette_; }
  const TTransparentArray& TransparentArray() const { return transparent_array_; }

  // Takes image (moved in) and its transparency record (null for none): the
  // image is brought to a depth of its own, a ttAlpha channel of another size
  // is refused (EInvalidGraphic) before anything changes, and a ttPalette
  // record also fills the per-index transparency.
  void Replace(TBitmap image, std::unique_ptr<TAlpha> alpha);
  // An empty image without transparency; the colour depth stays.
  void Clear();
  // Forgets the alpha record only.
  void ResetAlpha() { alpha_->Reset(); }
  // Blends a ttAlpha channel onto the colour where the image allows it
  // (24-bit images; 8-bit grey-palette ones with a grey colour), then forgets
  // the record.
  void FlattenAlphaOnto(TColor background);

 private:
  TBitmap image_;
  std::unique_ptr<TAlpha> alpha_;
  int32_t colour_depth_ = 24;
  bool transparent_palette_ = false;
  TTransparentArray transparent_array_;
};

}  // namespace pk
