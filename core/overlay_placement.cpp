// The placement table, computed in 64 bits so offsets anywhere in the int
// range and the wrap's running row length never overflow.
#include "core/overlay_placement.h"

namespace pk {

TOverlayPlacement::TOverlayPlacement(const TBitmap& Target, const TBitmap& Overlay, int Y, int X, TWMStyle Style)
    : style_(Style),
      target_width_(Target.Width()),
      overlay_width_(Overlay.Width()),
      overlay_height_(Overlay.Height()),
      x_(X),
      y_(Y) {
  if (Style == TWMStyle::wmCentre) {
    // Integer division truncates toward zero, as the centring rule asks.
    x_ = (target_width_ - overlay_width_) / 2;
    y_ = (int64_t{Target.Height()} - overlay_height_) / 2;
  }
}

bool TOverlayPlacement::RepeatsEmptyOverlay() const {
  return (style_ == TWMStyle::wmTile || style_ == TWMStyle::wmWrap) && (overlay_width_ == 0 || overlay_height_ == 0);
}

bool TOverlayPlacement::OverlayPoint(int x, int y, int& OverlayX, int& OverlayY) const {
  if (overlay_width_ <= 0 || overlay_height_ <= 0) return false;
  int64_t ox = 0;
  int64_t oy = 0;
  switch (style_) {
    case TWMStyle::wmCentre:
    case TWMStyle::wmSingle:
      ox = x - x_;
      oy = y - y_;
      if (ox < 0 || ox >= overlay_width_ || oy < 0 || oy >= overlay_height_) return false;
      break;
    case TWMStyle::wmTile:
      ox = x % overlay_width_;
      oy = y % overlay_height_;
      break;
    case TWMStyle::wmWrap:
      ox = (x + (y / overlay_height_) * target_width_) % overlay_width_;
      oy = y % overlay_height_;
      break;
    default:
      return false;
  }
  OverlayX = static_cast<int>(ox);
  OverlayY = static_cast<int>(oy);
  return true;
}

}  // namespace pk
