// GDI bitmap handles as the automation interface passes them: 32-bit values
// that own a bitmap. In the DLL they are real GDI bitmaps; elsewhere a handle
// table stands in, so the same code paths (hand out a copy, take one over and
// delete it) run in the tests.
#pragma once

#include <cstdint>
#include <memory>

namespace pk {

class TBitmap;

// A new handle holding a copy of the bitmap (same size, format and palette).
// The caller owns the handle and must delete it.
int32_t CreateBitmapHandle(const TBitmap& bitmap);
// Takes the handle over: returns its bitmap and deletes the handle. Raises
// EInvalidGraphic "Invalid bitmap" for 0 or a handle that holds no bitmap.
std::unique_ptr<TBitmap> TakeOverBitmapHandle(int32_t handle);
// False when the handle holds no bitmap.
bool DeleteBitmapHandle(int32_t handle);
// True when the handle holds a bitmap (0 never does).
bool IsBitmapHandle(int32_t handle);

}  // namespace pk
