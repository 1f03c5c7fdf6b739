// CropBitmap: a bitmap becomes a rectangle of itself, corners included. The
// rectangle may reach beyond the image on any side; the part outside takes a
// fill colour, so cropping also frames or extends an image. Pixels are moved
// exactly (palette images keep their indexes); the fill goes through the
// canvas, which matches it to the nearest palette entry.
#pragma once

#include "platform/bitmap.h"
#include "platform/color.h"

namespace pk {

// Nothing happens when X1 >= X2, Y1 >= Y2, X1 >= width or Y1 >= height. A
// rectangle of more pixels than a bitmap may hold raises EOutOfResources and
// leaves the bitmap as it was.
void CropBitmap(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Colour);

// The rectangle Left <= x < Right, Top <= y < Bottom of Bitmap as a new bitmap
// of its format and palette: every pixel is first painted Colour, then the
// part of the rectangle inside the image is copied over it. Any rectangle with
// Left <= Right and Top <= Bottom is taken, also one pixel wide or high, empty,
// or wholly outside the image; one of more pixels than a bitmap may hold
// raises EOutOfResources.
TBitmap CroppedRectangle(const TBitmap& Bitmap, int64_t Left, int64_t Top, int64_t Right, int64_t Bottom, TColor Colour);

}  // namespace pk
