// Text onto bitmaps, in the canvas's font, colours and brush style. A block is
// laid out here: split into lines at line breaks, measured (width of the
// widest unrotated line, height = lines × line height), each line aligned
// within the widest and stacked along the font's escapement, and drawn with
// one line-drawing call of the platform's text renderer. A text in a rectangle
// is handed whole to the renderer's formatted drawing. On a 24-bit bitmap the
// text can be blended in by a transparency percentage.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/text_justification.h"
#include "core/wide_string_list.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pk {

// The lines of a block. Breaks are CR, LF, CR LF and LF CR; a single trailing
// CR or LF adds no line, a trailing two-character break adds an empty one, and
// empty lines between breaks are kept.
TWideStringList SplitTextBlock(std::u16string_view Text);

// Sets Width and Height to the block's size (a text without lines gives 0
// and 0) and, when Draw is set, draws it with its first line's origin at
// (X, Y). An empty Text changes nothing. TransparencyPct runs from 0 (opaque)
// to 100 (the image stays as it was); larger values count as 100, and
// negative or non-finite ones as 0. Paletted and other non-24-bit bitmaps
// take the text opaque.
void DrawTextBlock(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y, int32_t& Width,
                   int32_t& Height, bool Draw, TTextJustification Justification, double TransparencyPct);
void DrawTextBlockAt(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y,
                     TTextJustification Justification, double TransparencyPct);
void DrawTextBlockSolid(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y,
                        TTextJustification Justification);
// Never changes the bitmap.
void MeasureTextBlock(TBitmap& Bitmap, std::u16string_view Text, int32_t& Width, int32_t& Height);

// The renderer's formatted drawing in Rect with the format flags of
// platform/text_renderer.h (word break, no clipping, centre, right); the text
// ends at its first U+0000, as a zero-terminated text does.
void DrawTextInRect(TBitmap& Bitmap, std::u16string_view Text, const TRect& Rect, uint32_t Format,
                    double TransparencyPct);

}  // namespace pk
