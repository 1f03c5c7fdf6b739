// ResampleTwoPass: scales a bitmap with a reconstruction kernel, first every
// row into a work bitmap, then every column into the destination, on 24-bit
// pixels. The first and last pixels of a row or column map onto the first and
// last source pixels, and the kernel is never stretched: when shrinking, each
// output pixel still draws on the few source pixels around its centre, which
// is why the resize driver reduces large images in steps. Weights are not
// normalised; sums are clamped to 0..255 and rounded half to even.
#pragma once

#include "core/resample_filters.h"
#include "platform/bitmap.h"

namespace pk {

// Dst's width and height are the target size; Dst becomes 24-bit and receives
// Src scaled to that size, and Src is converted to 24 bits in place. A source
// without rows or columns raises "Source bitmap too small" before anything
// changes; a target without rows or columns gives an empty Dst.
void ResampleTwoPass(TBitmap& Src, TBitmap& Dst, TFilterProc Filter, float Support);

}  // namespace pk
