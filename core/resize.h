// ResizeBitmap: the one way the component changes the size of a bitmap. With
// resampling it runs the two-pass resampler once or, for a strong reduction of
// an image whose shape it keeps, in a chain of steps of 0.6 (the resampler
// never stretches its kernel, so a single big step would skip source pixels);
// without resampling it stretches the way the platform does: area averaging for
// 24-bit images, dropped or repeated pixels for palette images (indexes kept),
// black winning for 1-bit images.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/bitmap.h"

namespace pk {

// Dest is replaced by a new NewWidth × NewHeight bitmap (whatever it held is
// freed; it may hold Source). FilterType indexes ResampleFilterTable; 0 stands
// for the Triangle entry and always resamples in one step. Resampled results
// are 24-bit, and a single resampling step converts Source to 24 bits in place;
// unresampled results keep Source's pixel format and palette.
// A NewHeight or source height of 0 raises "Division by zero", a FilterType
// outside the table (when resampling) ERangeError; Dest is then unchanged.
void ResizeBitmap(int NewWidth, int NewHeight, std::unique_ptr<TBitmap>& Dest, TBitmap& Source, bool Resample,
                  uint8_t FilterType);

}  // namespace pk
