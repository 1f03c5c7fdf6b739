// Bitmap handles in the DLL are real GDI bitmaps. A handle handed out is a
// top-down DIB section with the bitmap's own bit count, colour table and rows
// (the row layouts are the same), so the caller can select it into a DC or
// give it back. A handle taken over is read with GetDIBits at its own depth
// (1, 4 or 8 bits keep their indexes and colour table; anything else becomes
// 24 bits) and deleted once read, also when reading fails.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/bitmap_handles.h"

#include <cstring>
#include <vector>

#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/win32_resources.h"

#include <windows.h>

namespace pk {
namespace {

// A BITMAPINFO with room for a full colour table.
struct TBitmapInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

TBitmapInfo DescribeTopDown(int width, int height, int bit_count) {
  TBitmapInfo info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bit_count);
  info.header.biCompression = BI_RGB;
  return info;
}

HBITMAP ToHandle(int32_t handle) { return reinterpret_cast<HBITMAP>(static_cast<intptr_t>(handle)); }

}  // namespace

int32_t CreateBitmapHandle(const TBitmap& bitmap) {
  // GDI has no bitmap of zero size: an empty image hands out no handle.
  if (bitmap.Empty()) return 0;
  TBitmapInfo info = DescribeTopDown(bitmap.Width(), bitmap.Height(), bitmap.BitCount());
  const std::span<const TColor> table = bitmap.ColorTable();
  for (size_t i = 0; i < table.size() && i < 256; ++i) {
    info.colors[i] = RGBQUAD{static_cast<BYTE>(table[i] >> 16), static_cast<BYTE>(table[i] >> 8),
                             static_cast<BYTE>(table[i]), 0};
  }
  info.header.biClrUsed = static_cast<DWORD>(table.size());
  void* bits = nullptr;
  UniqueGdiObject<HBITMAP> handle(CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!handle.Get() || !bits) throw EOutOfResources(msg::kInvalidBitmap);
  const size_t row_bytes = static_cast<size_t>(bitmap.RowBytes());
  for (int row = 0; row < bitmap.Height(); ++row) {
    std::memcpy(static_cast<uint8_t*>(bits) + row * row_bytes, bitmap.ScanLine(row), row_bytes);
  }
  GdiFlush();
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle.Release()));
}

std::unique_ptr<TBitmap> TakeOverBitmapHandle(int32_t handle) {
  HBITMAP source = ToHandle(handle);
  BITMAP description{};
  if (handle == 0 || GetObjectType(source) != OBJ_BITMAP ||
      GetObjectW(source, sizeof(description), &description) == 0) {
    throw EInvalidGraphic(msg::kInvalidBitmap);
  }
  const UniqueGdiObject<HBITMAP> owned(source);
  const int width = description.bmWidth;
  const int height = description.bmHeight;
  const PixelFormat format = FormatOfDepth(description.bmBitsPixel * description.bmPlanes);
  TByteBuffer rows(static_cast<size_t>(CheckedBitmapBytes(width, height, format)), 0);
  TBitmapInfo info = DescribeTopDown(width, height, BitsPerPixel(format));
  const UniqueMemoryDc dc;
  if (!dc.Get() || GetDIBits(dc.Get(), source, 0, static_cast<UINT>(height), rows.data(), info.Get(),
                             DIB_RGB_COLORS) != height) {
    throw EInvalidGraphic(msg::kInvalidBitmap);
  }
  std::vector<TColor> table(static_cast<size_t>(PaletteCapacity(format)));
  for (size_t i = 0; i < table.size(); ++i) {
    table[i] = static_cast<TColor>(info.colors[i].rgbRed) | (static_cast<TColor>(info.colors[i].rgbGreen) << 8) |
               (static_cast<TColor>(info.colors[i].rgbBlue) << 16);
  }
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Adopt(format, width, height, std::move(table), std::move(rows));
  return bitmap;
}

bool DeleteBitmapHandle(int32_t handle) {
  return IsBitmapHandle(handle) && DeleteObject(ToHandle(handle)) != FALSE;
}

bool IsBitmapHandle(int32_t handle) { return handle != 0 && GetObjectType(ToHandle(handle)) == OBJ_BITMAP; }

}  // namespace pk
