// CropBitmap paints the new area with the fill colour and then copies only the
// overlap of the rectangle and the old image; corners are taken in 64 bits, so
// no rectangle can wrap into a small or negative size.
#include "core/crop.h"

#include <algorithm>
#include <string>

#include "core/bitmap_copy.h"
#include "core/row_pixel_bytes.h"
#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/pixel_rows.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// The new size, or EOutOfResources when it is more than a bitmap can hold.
// Corners span up to 2^32 pixels, hence the 64-bit arithmetic.
void CheckCropSize(int64_t width, int64_t height, PixelFormat format) {
  if (width > INT32_MAX || height > INT32_MAX) {
    const std::string claim = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    throw EOutOfResources(msg::kBitmapTooLarge + Utf8ToUtf16(claim));
  }
  CheckedBitmapBytes(width, height, format);
}

}  // namespace

void CropBitmap(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Colour) {
  if (X1 >= X2 || Y1 >= Y2 || X1 >= Bitmap.Width() || Y1 >= Bitmap.Height()) return;
  const int64_t width = int64_t{X2} - X1 + 1;
  const int64_t height = int64_t{Y2} - Y1 + 1;
  CheckCropSize(width, height, Bitmap.GetPixelFormat());

  TBitmap old;
  CopyBitmapExact(Bitmap, old);
  CopyBitmapLayout(old, Bitmap, static_cast<int>(width), static_cast<int>(height));
  TCanvas& canvas = Bitmap.Canvas();
  canvas.Pen.Color = Colour;
  canvas.Brush.Color = Colour;
  canvas.FillRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));

  // Only the overlap of the rectangle and the old image is copied.
  const int64_t first_col = std::max<int64_t>(0, -int64_t{X1});
  const int64_t last_col = std::min<int64_t>(width, int64_t{old.Width()} - X1);  // exclusive
  const int64_t first_row = std::max<int64_t>(0, -int64_t{Y1});
  const int64_t last_row = std::min<int64_t>(height, int64_t{old.Height()} - Y1);
  // The 16- and 32-bit formats, which the pixel-exact procedures leave alone,
  // keep only the fill.
  if (first_col >= last_col || RowPixelBytes(1, old.GetPixelFormat()) == 0) return;
  const auto count = static_cast<int>(last_col - first_col);
  for (int64_t r = first_row; r < last_row; ++r)
    CopyPixels(old.ScanLine(static_cast<int>(Y1 + r)), static_cast<int>(X1 + first_col),
               Bitmap.ScanLine(static_cast<int>(r)), static_cast<int>(first_col), count, old.GetPixelFormat());
}

}  // namespace pk
