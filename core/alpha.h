// TAlpha: how an image is transparent. It holds one of six kinds of
// transparency and the data that kind needs: an 8-bit alpha channel of the
// image's size, one transparent colour or palette index, an alpha value per
// palette index, or the grey or RGB sample values that are transparent.
//
// The record does not know the image it belongs to; its owner (a codec, the
// extended bitmap, the automation object) keeps the two in step whenever the
// image is resized, flipped, rotated or cropped. The channel always exists and
// is 8 bits per pixel with a palette of 256 greys (entry i = i, i, i), except
// that SetWidth and SetHeight only resize it. The geometric operations live in
// core/alpha_geometry.cpp beside the raster procedures they call.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/palette_types.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace pk {

enum class TTransparencyType : uint8_t {
  ttGIF,         // one palette index fully transparent, the rest opaque
  ttPalette,     // an alpha value per palette index
  ttSingleGrey,  // one grey sample value transparent
  ttSingleRGB,   // one RGB sample value transparent
  ttAlpha,       // an alpha value per pixel in the channel
  ttNone,        // no transparency
};

// Alpha of each palette index: 0 transparent, 255 opaque.
using TTransparentArray = std::array<uint8_t, 256>;

class TAlpha {
 public:
  TAlpha();
  ~TAlpha();
  TAlpha(const TAlpha&) = delete;
  TAlpha& operator=(const TAlpha&) = delete;

  // Back to the initial state: kind ttNone, a 0 x 0 grey channel, every
  // transparent-array entry 255, every palette entry 0, all values 0.
  void Reset();
  // Copies every field and the channel (size, format, palette and pixels).
  void Assign(const TAlpha& source);

  // Classifies the first ArraySize entries of the transparent array: exactly
  // one entry 0 among 255s is ttGIF (that index becomes TransparentIndex and
  // its palette colour SingleTransColour); any other non-255 value, or a
  // second 0, is ttPalette; entries that are all 255 mean ttNone.
  void FindPaletteTransparency();

  // Geometry of the channel (core/alpha_geometry.cpp). FlipX mirrors top to
  // bottom, FlipY left to right.
  void FlipX();
  void FlipY();
  // Scales without resampling.
  void Resize(int width, int height);
  // Scales through a 24-bit copy, resampled with the filter when asked, and
  // turns the result back into a grey channel.
  void Resize(int width, int height, bool resample, uint8_t filter_type);

  // Crops to the rectangle (corners in any order, right and bottom edges
  // exclusive); the parts of the rectangle outside the old channel take
  // extra_alpha_value, so a larger rectangle extends the channel.
  void Crop(int x1, int y1, int x2, int y2, uint8_t extra_alpha_value);
  // For ttAlpha only: rows 0 to rows-1, or the pixels x1 <= x < x2 and
  // y1 <= y < y2, become opaque (255). Both are clipped to the channel.
  void OpaqueTop(int rows);
  void OpaqueRect(int x1, int y1, int x2, int y2);

  // Copies all 256 entries; ArraySize becomes the index of the last entry
  // other than 255, plus one, and stays as it was when every entry is 255.
  void SetTransparentArray(const TTransparentArray& transparent_array);
  const TTransparentArray& TransparentArray() const { return FTransparentArray; }
  const TColourMap& Palette() const { return FPalette; }

  TColor GetPaletteEntry(uint8_t index) const { return FPalette[index]; }
  void SetPaletteEntry(uint8_t index, TColor value) { FPalette[index] = value; }
  // ArraySize is not changed by the entry setter.
  uint8_t GetTransparentArrayEntry(uint8_t index) const { return FTransparentArray[index]; }
  void SetTransparentArrayEntry(uint8_t index, uint8_t value) { FTransparentArray[index] = value; }

  // One byte of the channel; EInvalidGraphic "Pixel coordinate value out of
  // range." outside it.
  uint8_t GetAlphaPixel(int x, int y) const;
  void SetAlphaPixel(int x, int y, uint8_t value);

  TTransparencyType TransparencyType() const { return FTransparencyType; }
  void SetTransparencyType(TTransparencyType value) { FTransparencyType = value; }
  bool HasSingleTransparency() const { return FHasSingleTransparency; }
  void SetHasSingleTransparency(bool value) { FHasSingleTransparency = value; }
  TColor SingleTransColour() const { return FSingleTransColour; }
  void SetSingleTransColour(TColor value) { FSingleTransColour = value; }
  // 0 to 256: a larger count (a PNG tRNS chunk longer than the palette) is
  // stored as 256, a negative one as 0. The setter takes the count as read
  // from the data, so a long chunk's length cannot wrap on its way in.
  uint16_t ArraySize() const { return FArraySize; }
  void SetArraySize(int64_t value);
  uint16_t Grey() const { return FGrey; }
  void SetGrey(uint16_t value) { FGrey = value; }
  uint16_t Red() const { return FRed; }
  void SetRed(uint16_t value) { FRed = value; }
  uint16_t Green() const { return FGreen; }
  void SetGreen(uint16_t value) { FGreen = value; }
  uint16_t Blue() const { return FBlue; }
  void SetBlue(uint16_t value) { FBlue = value; }
  uint8_t TransparentIndex() const { return FTransparentIndex; }
  void SetTransparentIndex(uint8_t value) { FTransparentIndex = value; }

  // The channel stays owned by the record.
  TBitmap& AlphaChannel() { return *FAlphaChannel; }
  const TBitmap& AlphaChannel() const { return *FAlphaChannel; }
  int Width() const { return FAlphaChannel->Width(); }
  void SetWidth(int value) { FAlphaChannel->SetWidth(value); }
  int Height() const { return FAlphaChannel->Height(); }
  void SetHeight(int value) { FAlphaChannel->SetHeight(value); }

 private:
  // A width x height channel: 8 bits per pixel, the 256-grey palette, every
  // pixel 0.
  static std::unique_ptr<TBitmap> NewGreyChannel(int width, int height);
  // The channel's byte at (x, y) after the range check.
  uint8_t& ChannelByte(int x, int y) const;

  TTransparencyType FTransparencyType = TTransparencyType::ttNone;
  std::unique_ptr<TBitmap> FAlphaChannel;
  bool FHasSingleTransparency = false;
  TColor FSingleTransColour = 0;
  TColourMap FPalette{};
  TTransparentArray FTransparentArray{};
  uint16_t FArraySize = 0;
  uint16_t FGrey = 0;
  uint16_t FRed = 0;
  uint16_t FGreen = 0;
  uint16_t FBlue = 0;
  uint8_t FTransparentIndex = 0;
};

}  // namespace pk
