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
  Bitmap = CroppedRectangle(Bitmap, X1, Y1, int64_t{X2} + 1, int64_t{Y2} + 1, Colour);
}

TBitmap CroppedRectangle(const TBitmap& Bitmap, int64_t Left, int64_t Top, int64_t Right, int64_t Bottom,
                         TColor Colour) {
  const int64_t width = Right - Left;
  const int64_t height = Bottom - Top;
  CheckCropSize(width, height, Bitmap.GetPixelFormat());

  TBitmap cropped;
  CopyBitmapLayout(Bitmap, cropped, static_cast<int>(width), static_cast<int>(height));
  TCanvas& canvas = cropped.Canvas();
  canvas.Pen.Color = Colour;
  canvas.Brush.Color = Colour;
  canvas.FillRect(Rect(0, 0, cropped.Width(), cropped.Height()));

  // Only the overlap of the rectangle and the image is copied.
  const int64_t first_col = std::max<int64_t>(0, -Left);
  const int64_t last_col = std::min<int64_t>(width, Bitmap.Width() - Left);  // exclusive
  const int64_t first_row = std::max<int64_t>(0, -Top);
  const int64_t last_row = std::min<int64_t>(height, Bitmap.Height() - Top);
  // The 16- and 32-bit formats, which the pixel-exact procedures leave alone,
  // keep only the fill.
  if (first_col >= last_col || RowPixelBytes(1, Bitmap.GetPixelFormat()) == 0) return cropped;
  const auto count = static_cast<int>(last_col - first_col);
  for (int64_t r = first_row; r < last_row; ++r)
    CopyPixels(Bitmap.ScanLine(static_cast<int>(Top + r)), static_cast<int>(Left + first_col),
               cropped.ScanLine(static_cast<int>(r)), static_cast<int>(first_col), count, Bitmap.GetPixelFormat());
  return cropped;
}

}  // namespace pk
