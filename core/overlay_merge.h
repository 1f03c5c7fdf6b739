// Compositing one bitmap (the overlay) onto another (the target) in place:
// through the overlay's alpha channel, its per-index alpha, or a uniform
// transparency percentage, onto 24-bit or paletted targets; the palette to
// palette watermark of GIF frames; and the flattening of an alpha channel
// onto one colour.
//
// The merges report instead of raising: 0 done, 1 a target format the merge
// does not handle, 2 an overlay without the transparency kind or pixel format
// it needs. With 1 or 2 no pixel changes. Wherever Transparent is set, overlay
// pixels of exactly TransColour's red, green and blue leave the target alone.
// Percent is the overlay's transparency: 0 fully visible, 100 invisible.
#pragma once

#include <cstdint>

#include "core/alpha.h"
#include "core/wm_style.h"
#include "platform/bitmap.h"

namespace pk {

// Blends a 24-bit bitmap, or an 8-bit grey-palette one with a grey colour, with
// the ttAlpha channel of its own size onto Colour. Anything else is left alone.
void CombineAlphaWithColour(TBitmap& Bitmap, const TAlpha& Alpha, TColor Colour);

// 8- or 24-bit overlay with a ttAlpha channel of the overlay's size, onto a
// 24-bit target; Percent is held to 0..100.
int MergeAlphaOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, const TAlpha& Alpha, int Y, int X,
                      TWMStyle Style, double Percent, TColor TransColour);

// 1-, 4- or 8-bit overlay with a ttPalette record (alpha per index; indexes
// past the record's ArraySize are opaque), onto a 24-bit target.
int MergePaletteAlphaOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, const TAlpha& Alpha, int Y,
                             int X, TWMStyle Style, double Percent, TColor TransColour);

// 1-, 4-, 8- or 24-bit overlay at a uniform transparency onto a 24-bit target.
// Percent is held to 0..100 so no component leaves 0..255; NaN and infinities
// count as 0.
int MergeOverlay(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                 double Percent, TColor TransColour);

// As MergeOverlay, also onto 1-, 4- and 8-bit targets: each blended colour
// becomes the nearest entry of the target's palette (the lowest index of
// equally near ones).
int MergeOverlayToPalette(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, TWMStyle Style,
                          double Percent, TColor TransColour);

// Paletted overlay placed once at (X, Y) on a paletted target, without
// blending: each covered pixel takes the target entry nearest to the overlay
// pixel's colour, except overlay pixels of index TransIndex when Transparent.
// Raises EInvalidGraphic when either bitmap is not 1, 4 or 8 bits.
void WatermarkGIF(TBitmap& Target, const TBitmap& Overlay, bool Transparent, int Y, int X, uint8_t TransIndex);

}  // namespace pk
