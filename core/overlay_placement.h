// Where an overlay lies on a target: for each target pixel, the overlay pixel
// on it, if any, under one of the four placements (centred, once at an offset,
// tiled from the top-left corner, or wrapped so each band of overlay rows
// continues where the previous band's rows ended). Every merge and watermark
// asks this one question, so the placement formulas live only here.
#pragma once

#include "core/wm_style.h"
#include "platform/bitmap.h"

namespace pk {

class TOverlayPlacement {
 public:
  // X and Y are the overlay's top-left corner for wmSingle and may lie
  // anywhere, negative or beyond the target; wmCentre computes its own and
  // wmTile and wmWrap ignore them.
  TOverlayPlacement(const TBitmap& Target, const TBitmap& Overlay, int Y, int X, TWMStyle Style);

  // The overlay pixel (OverlayX, OverlayY) on target pixel (x, y); false where
  // none lies. An empty overlay covers nothing in any placement (the repeating
  // placements never divide by its size), nor does an unknown style.
  bool OverlayPoint(int x, int y, int& OverlayX, int& OverlayY) const;

  // True when the placement repeats an empty overlay: nothing to merge.
  bool RepeatsEmptyOverlay() const;

 private:
  TWMStyle style_;
  int64_t target_width_;
  int64_t overlay_width_;
  int64_t overlay_height_;
  int64_t x_;
  int64_t y_;
};

}  // namespace pk
