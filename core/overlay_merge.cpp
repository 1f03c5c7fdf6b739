// Every merge walks the target once, asks the placement for the overlay pixel
// on each target pixel and blends it in place. Nothing here allocates or
// raises once a pixel has changed, so a merge either runs through or leaves
// the target as it was.
//
// The blends keep the component's arithmetic: alpha fractions held in single
// precision, sums in extended precision, rounding half to even for the alpha
// blends and Trunc(x + 0.5) for the percentage blends.
#include "core/overlay_merge.h"

#include <array>
#include <cmath>

#include "core/messages.h"
#include "core/overlay_pixels.h"
#include "core/overlay_placement.h"
#include "core/palette_helpers.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"

namespace pk {
namespace {

constexpr int kDone = 0;
constexpr int kTargetFormat = 1;
constexpr int kOverlayKind = 2;

TColourMap PaletteOf(const TBitmap& Bitmap) {
  TColourMap colours{};
  GetPaletteColours(Bitmap, colours);
  return colours;
}

// Calls Visit(row, column, overlay pixel, overlay x, overlay y) for every target
// pixel that has a readable overlay pixel other than the transparent colour.
template <typename Visit>
void ForEachOverlaidPixel(const TBitmap& Target, const TBitmap& Overlay, int Y, int X, TWMStyle Style,
                          bool Transparent, TColor TransColour, Visit visit) {
  const TOverlayPlacement placement(Target, Overlay, Y, X, Style);
  const TColourMap palette = PaletteOf(Overlay);
  for (int row = 0; row < Target.Height(); ++row) {
    for (int column = 0; column < Target.Width(); ++column) {
      int ox = 0;
      int oy = 0;
      TPixelRGB pixel;
      if (!placement.OverlayPoint(column, row, ox, oy)) continue;
      if (ReadPixelRGB(Overlay, palette, oy, ox, pixel) != 0) continue;
      if (Transparent && pixel.SameColour(TransColour)) continue;
      visit(row, column, pixel, ox, oy);
    }
  }
}

// The alpha merges' transparency: Percent / 100 in single precision; a value
// that is not >= 0 gives 0, above 1 gives 1.
float AlphaMergeFraction(double Percent) {
  const float t = static_cast<float>(Percent / 100);
  if (!(t >= 0)) return 0;
  return t > 1 ? 1 : t;
}

// The percentage merges' transparency, held to 0..1 so that the blend of two
// components stays within them; NaN and infinities count as 0.
Extended PercentMergeFraction(double Percent) {
  if (!std::isfinite(Percent)) return 0;
  return static_cast<Extended>(Percent < 0 ? 0 : Percent > 100 ? 100 : Percent) / 100;
}

// Round(overlay × a + (1 - a) × target).
uint8_t AlphaBlend(uint8_t Overlay, uint8_t Target, float A) {
  const Extended a = A;
  return static_cast<uint8_t>(Round(Overlay * a + (1 - a) * Target));
}

// Trunc(e × target + (1 - e) × overlay + 0.5).
uint8_t PercentBlend(uint8_t Overlay, uint8_t Target, Extended E) {
  return static_cast<uint8_t>(Trunc(E * Target + (1 - E) * Overlay + Extended(0.5)));
}

// The blue, green, red bytes of 24-bit target pixel (column, row).
uint8_t* Bgr(TBitmap& Target, int row, int column) { return Target.ScanLine(row) + int64_t{column} * 3; }

// Merges a 24-bit target with the overlay alpha that AlphaAt(pixel, ox, oy)
// gives, weakened by the transparency.
template <typename AlphaAt>
int MergeWithAlpha(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                   double Percent, TColor TransColour, AlphaAt alpha_at) {
  if (Target.GetPixelFormat() != PixelFormat::pf24bit) return kTargetFormat;
  if (TOverlayPlacement(Target, Overlay, Y, X, Style).RepeatsEmptyOverlay()) return kOverlayKind;
  const float visible = 1 - AlphaMergeFraction(Percent);
  ForEachOverlaidPixel(Target, Overlay, Y, X, Style, Transparent, TransColour,
                       [&](int row, int column, const TPixelRGB& pixel, int ox, int oy) {
                         const float a = visible * alpha_at(pixel, ox, oy);
                         uint8_t* bgr = Bgr(Target, row, column);
                         bgr[0] = AlphaBlend(pixel.Blue, bgr[0], a);
                         bgr[1] = AlphaBlend(pixel.Green, bgr[1], a);
                         bgr[2] = AlphaBlend(pixel.Red, bgr[2], a);
                       });
  return kDone;
}

void PercentMergeInto24Bit(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                           Extended E, TColor TransColour) {
  ForEachOverlaidPixel(Target, Overlay, Y, X, Style, Transparent, TransColour,
                       [&](int row, int column, const TPixelRGB& pixel, int, int) {
                         uint8_t* bgr = Bgr(Target, row, column);
                         bgr[0] = PercentBlend(pixel.Blue, bgr[0], E);
                         bgr[1] = PercentBlend(pixel.Green, bgr[1], E);
                         bgr[2] = PercentBlend(pixel.Red, bgr[2], E);
                       });
}

// For each grey level, the index of the nearest entry of the bitmap's palette.
std::array<uint8_t, 256> NearestGreyIndexes(const TBitmap& Bitmap) {
  const TColourMap palette = PaletteOf(Bitmap);
  std::array<uint8_t, 256> nearest{};
  for (int level = 0; level < 256; ++level) {
    const auto v = static_cast<uint8_t>(level);
    nearest[level] = NearestPaletteIndex(palette, 256, v, v, v);
  }
  return nearest;
}

void CombineGreyPalette(TBitmap& Bitmap, const TAlpha& Alpha, uint8_t Grey) {
  // The pixels' grey levels are blended, then mapped back to the nearest
  // entry; on the identity ramp (entry i = grey i) that is the blended index
  // itself, while any other grey palette keeps its colours right.
  const TColourMap palette = PaletteOf(Bitmap);
  const std::array<uint8_t, 256> nearest = NearestGreyIndexes(Bitmap);
  for (int row = 0; row < Bitmap.Height(); ++row) {
    uint8_t* line = Bitmap.ScanLine(row);
    const uint8_t* alpha = Alpha.AlphaChannel().ScanLine(row);
    for (int column = 0; column < Bitmap.Width(); ++column) {
      const float c = alpha[column] / 255.0f;
      line[column] = nearest[AlphaBlend(GetRValue(palette[line[column]]), Grey, c)];
    }
  }
}

void Combine24Bit(TBitmap& Bitmap, const TAlpha& Alpha, TColor Colour) {
  for (int row = 0; row < Bitmap.Height(); ++row) {
    uint8_t* bgr = Bitmap.ScanLine(row);
    const uint8_t* alpha = Alpha.AlphaChannel().ScanLine(row);
    for (int column = 0; column < Bitmap.Width(); ++column, bgr += 3) {
      const float c = alpha[column] / 255.0f;
      bgr[0] = AlphaBlend(bgr[0], GetBValue(Colour), c);
      bgr[1] = AlphaBlend(bgr[1], GetGValue(Colour), c);
      bgr[2] = AlphaBlend(bgr[2], GetRValue(Colour), c);
    }
  }
}

}  // namespace

void CombineAlphaWithColour(TBitmap& Bitmap, const TAlpha& Alpha, TColor Colour) {
  if (Alpha.TransparencyType() != TTransparencyType::ttAlpha) return;
  if (Bitmap.Empty() || Bitmap.Width() != Alpha.Width() || Bitmap.Height() != Alpha.Height()) return;
  if (Alpha.AlphaChannel().GetPixelFormat() != PixelFormat::pf8bit) return;
  if (Bitmap.GetPixelFormat() == PixelFormat::pf24bit) {
    Combine24Bit(Bitmap, Alpha, Colour);
  } else if (Bitmap.GetPixelFormat() == PixelFormat::pf8bit && HasGreyPalette(Bitmap)) {
    const uint8_t grey = GetRValue(Colour);
    if (grey == GetGValue(Colour) && grey == GetBValue(Colour)) CombineGreyPalette(Bitmap, Alpha, grey);
  }
}

int MergeAlphaOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, const TAlpha& Alpha, int Y, int X,
                      TWMStyle Style, double Percent, TColor TransColour) {
  const PixelFormat format = Overlay.GetPixelFormat();
  if (Alpha.TransparencyType() != TTransparencyType::ttAlpha) return kOverlayKind;
  if (format != PixelFormat::pf8bit && format != PixelFormat::pf24bit) return kOverlayKind;
  // A channel of another size would be read outside its rows.
  if (Alpha.Width() != Overlay.Width() || Alpha.Height() != Overlay.Height()) return kOverlayKind;
  if (Alpha.AlphaChannel().GetPixelFormat() != PixelFormat::pf8bit) return kOverlayKind;
  const TBitmap& channel = Alpha.AlphaChannel();
  return MergeWithAlpha(Target, Overlay, Transparent, Y, X, Style, Percent, TransColour,
                        [&](const TPixelRGB&, int ox, int oy) { return channel.ScanLine(oy)[ox] / 255.0f; });
}

int MergePaletteAlphaOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, const TAlpha& Alpha, int Y,
                             int X, TWMStyle Style, double Percent, TColor TransColour) {
  if (Alpha.TransparencyType() != TTransparencyType::ttPalette) return kOverlayKind;
  if (!IsPaletted(Overlay.GetPixelFormat())) return kOverlayKind;
  return MergeWithAlpha(Target, Overlay, Transparent, Y, X, Style, Percent, TransColour,
                        [&](const TPixelRGB& pixel, int, int) {
                          if (pixel.Index > Alpha.ArraySize()) return 1.0f;
                          return Alpha.GetTransparentArrayEntry(pixel.Index) / 255.0f;
                        });
}

int MergeOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                 double Percent, TColor TransColour) {
  if (Target.GetPixelFormat() != PixelFormat::pf24bit) return kTargetFormat;
  PercentMergeInto24Bit(Target, Overlay, Transparent, Y, X, Style, PercentMergeFraction(Percent), TransColour);
  return kDone;
}

int MergeOverlayToPalette(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                          double Percent, TColor TransColour) {
  const PixelFormat format = Target.GetPixelFormat();
  if (format == PixelFormat::pf24bit) return MergeOverlay(Target, Overlay, Transparent, Y, X, Style, Percent, TransColour);
  if (!IsPaletted(format)) return kTargetFormat;
  const Extended e = PercentMergeFraction(Percent);
  const TColourMap palette = PaletteOf(Target);
  ForEachOverlaidPixel(Target, Overlay, Y, X, Style, Transparent, TransColour,
                       [&](int row, int column, const TPixelRGB& pixel, int, int) {
                         TPixelRGB target;
                         ReadPixelRGB(Target, palette, row, column, target);
                         const uint8_t index = NearestPaletteIndex(
                             palette, PaletteCapacity(format), PercentBlend(pixel.Red, target.Red, e),
                             PercentBlend(pixel.Green, target.Green, e), PercentBlend(pixel.Blue, target.Blue, e));
                         SetPixelIndex(Target, row, column, index);
                       });
  return kDone;
}

void WatermarkGIF(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, uint8_t TransIndex) {
  if (!IsPaletted(Target.GetPixelFormat()) || !IsPaletted(Overlay.GetPixelFormat()))
    throw EInvalidGraphic(msg::kWatermarkGifColourDepth);
  const TColourMap palette = PaletteOf(Target);
  const int entries = PaletteCapacity(Target.GetPixelFormat());
  ForEachOverlaidPixel(Target, Overlay, Y, X, TWMStyle::wmSingle, false, 0,
                       [&](int row, int column, const TPixelRGB& pixel, int, int) {
                         if (Transparent && pixel.Index == TransIndex) return;
                         SetPixelIndex(Target, row, column,
                                       NearestPaletteIndex(palette, entries, pixel.Red, pixel.Green, pixel.Blue));
                       });
}

}  // namespace pk
