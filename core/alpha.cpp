// TAlpha: the record's state, its classification of palette transparency, and
// the operations that only touch channel bytes (crop, opaque areas, pixel
// access). Every write to the channel is clipped or range-checked here, since
// owners hand in rectangles computed from the image, not from the channel.
#include "core/alpha.h"

#include <algorithm>
#include <cstring>

#include "core/messages.h"
#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/palette.h"

namespace pk {

namespace {

constexpr uint8_t kOpaque = 255;
constexpr uint16_t kPaletteEntries = 256;

}  // namespace

TAlpha::TAlpha() { Reset(); }

TAlpha::~TAlpha() = default;

std::unique_ptr<TBitmap> TAlpha::NewGreyChannel(int width, int height) {
  auto channel = std::make_unique<TBitmap>(width, height, PixelFormat::pf8bit);
  channel->SetColorTable(GreyPalette());
  return channel;
}

void TAlpha::Reset() {
  FAlphaChannel = NewGreyChannel(0, 0);
  FTransparencyType = TTransparencyType::ttNone;
  FTransparentArray.fill(kOpaque);
  FPalette.fill(0);
  FArraySize = 0;
  FSingleTransColour = 0;
  FHasSingleTransparency = false;
  FGrey = FRed = FGreen = FBlue = 0;
  FTransparentIndex = 0;
}

void TAlpha::Assign(const TAlpha& source) {
  if (&source == this) return;
  FAlphaChannel = std::make_unique<TBitmap>(*source.FAlphaChannel);
  FTransparencyType = source.FTransparencyType;
  FHasSingleTransparency = source.FHasSingleTransparency;
  FSingleTransColour = source.FSingleTransColour;
  FArraySize = source.FArraySize;
  FGrey = source.FGrey;
  FRed = source.FRed;
  FGreen = source.FGreen;
  FBlue = source.FBlue;
  FTransparentIndex = source.FTransparentIndex;
  FPalette = source.FPalette;
  FTransparentArray = source.FTransparentArray;
}

void TAlpha::SetArraySize(int64_t value) { FArraySize = static_cast<uint16_t>(std::clamp<int64_t>(value, 0, kPaletteEntries)); }

void TAlpha::FindPaletteTransparency() {
  if (FArraySize == 0) return;
  FTransparentIndex = 0;
  bool found_transparent = false;
  for (int i = 0; i < std::min(FArraySize, kPaletteEntries); ++i) {
    const uint8_t entry = FTransparentArray[i];
    if (entry == kOpaque) continue;
    if (entry == 0 && !found_transparent) {
      found_transparent = true;
      FTransparentIndex = static_cast<uint8_t>(i);
      continue;
    }
    FTransparencyType = TTransparencyType::ttPalette;
    FHasSingleTransparency = false;
    return;
  }
  // Every counted entry opaque: nothing is transparent, and calling index 0
  // the transparent one would make an opaque colour vanish.
  if (!found_transparent) {
    FTransparencyType = TTransparencyType::ttNone;
    FHasSingleTransparency = false;
    return;
  }
  FTransparencyType = TTransparencyType::ttGIF;
  FHasSingleTransparency = true;
  FSingleTransColour = FPalette[FTransparentIndex];
}

void TAlpha::SetTransparentArray(const TTransparentArray& transparent_array) {
  FTransparentArray = transparent_array;
  for (int i = kPaletteEntries - 1; i >= 0; --i) {
    if (FTransparentArray[i] != kOpaque) {
      FArraySize = static_cast<uint16_t>(i + 1);
      return;
    }
  }
}

void TAlpha::Crop(int x1, int y1, int x2, int y2, uint8_t extra_alpha_value) {
  const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
  const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
  // Raises before anything is allocated when the rectangle is too large.
  CheckedBitmapBytes(right - left, bottom - top, PixelFormat::pf8bit);
  auto cropped = NewGreyChannel(static_cast<int>(right - left), static_cast<int>(bottom - top));
  for (int y = 0; y < cropped->Height(); ++y) std::memset(cropped->ScanLine(y), extra_alpha_value, cropped->Width());

  const TBitmap& old = *FAlphaChannel;
  const int64_t overlap_left = std::max<int64_t>(left, 0), overlap_right = std::min<int64_t>(right, old.Width());
  const int64_t overlap_top = std::max<int64_t>(top, 0), overlap_bottom = std::min<int64_t>(bottom, old.Height());
  if (overlap_left < overlap_right && overlap_top < overlap_bottom) {
    const TRect dest = Rect(static_cast<int>(overlap_left - left), static_cast<int>(overlap_top - top),
                            static_cast<int>(overlap_right - left), static_cast<int>(overlap_bottom - top));
    const TRect src = Rect(static_cast<int>(overlap_left), static_cast<int>(overlap_top),
                           static_cast<int>(overlap_right), static_cast<int>(overlap_bottom));
    cropped->Canvas().CopyRect(dest, old, src);
  }
  FAlphaChannel = std::move(cropped);
}

void TAlpha::OpaqueTop(int rows) {
  if (FTransparencyType != TTransparencyType::ttAlpha) return;
  OpaqueRect(0, 0, Width(), rows);
}

void TAlpha::OpaqueRect(int x1, int y1, int x2, int y2) {
  if (FTransparencyType != TTransparencyType::ttAlpha) return;
  const int left = std::max(x1, 0), right = std::min(x2, Width());
  const int top = std::max(y1, 0), bottom = std::min(y2, Height());
  if (left >= right) return;
  for (int y = top; y < bottom; ++y) std::memset(&ChannelByte(left, y), kOpaque, static_cast<size_t>(right - left));
}

uint8_t& TAlpha::ChannelByte(int x, int y) const {
  if (x < 0 || x >= Width() || y < 0 || y >= Height()) throw EInvalidGraphic(msg::kPixelCoordinateOutOfRange);
  // One byte per pixel is what the coordinates index; a channel that an owner
  // switched to another format must not be read past its rows.
  if (FAlphaChannel->GetPixelFormat() != PixelFormat::pf8bit) throw EInvalidGraphic(msg::kInvalidPixelFormat);
  return FAlphaChannel->ScanLine(y)[x];
}

uint8_t TAlpha::GetAlphaPixel(int x, int y) const { return ChannelByte(x, y); }

void TAlpha::SetAlphaPixel(int x, int y, uint8_t value) { ChannelByte(x, y) = value; }

}  // namespace pk
