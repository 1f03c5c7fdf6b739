#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/gdi_text_drawing.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/win32_resources.h"

#include <windows.h>

namespace pk {
namespace {

// Only a 24-bit target is antialiased, and only when the font asks for it;
// everything else is drawn without smoothing, whatever the system's setting.
LOGFONTW DrawingFont(const TFontRecord& font, const TBitmap& target) {
  LOGFONTW logical = UprightLogicalFont(font);
  logical.lfEscapement = font.escapement;
  logical.lfOrientation = font.orientation;
  logical.lfQuality = font.quality >= ANTIALIASED_QUALITY && target.GetPixelFormat() == PixelFormat::pf24bit
                          ? ANTIALIASED_QUALITY
                          : NONANTIALIASED_QUALITY;
  return logical;
}

// A DIB header with the bitmap's layout, top row first, and its colour table
// (exactly the entries it holds, so GDI picks among those only).
std::vector<uint8_t> DibHeader(const TBitmap& bitmap) {
  const auto table = bitmap.ColorTable();
  const PixelFormat format = bitmap.GetPixelFormat();
  size_t entries = 0;
  if (IsPaletted(format)) entries = table.empty() ? static_cast<size_t>(PaletteCapacity(format)) : table.size();
  std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD), 0);
  auto* info = reinterpret_cast<BITMAPINFO*>(bytes.data());
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = bitmap.Width();
  info->bmiHeader.biHeight = -bitmap.Height();
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = static_cast<WORD>(bitmap.BitCount());
  info->bmiHeader.biCompression = BI_RGB;
  info->bmiHeader.biClrUsed = static_cast<DWORD>(entries);
  for (size_t i = 0; i < entries; ++i) {
    const TColor colour = bitmap.ColorTableEntry(static_cast<int>(i));
    info->bmiColors[i] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
  }
  return bytes;
}

// Copies the DIB's rows back; a 32-bit bitmap keeps its alpha bytes, which
// GDI text output does not maintain.
void CopyBack(const uint8_t* bits, TBitmap& bitmap) {
  const int64_t stride = bitmap.RowBytes();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    const uint8_t* drawn = bits + y * stride;
    if (bitmap.GetPixelFormat() != PixelFormat::pf32bit) {
      std::memcpy(row, drawn, static_cast<size_t>(stride));
      continue;
    }
    for (int x = 0; x < bitmap.Width(); ++x) std::memcpy(row + 4 * x, drawn + 4 * x, 3);
  }
}

void DrawOnBitmap(TBitmap& bitmap, const TTextPaint& paint, const std::function<void(HDC)>& draw) {
  if (bitmap.Empty()) return;
  const UniqueMemoryDc dc;
  if (!dc.Get()) throw EOutOfResources(msg::kCannotCreateFont);
  const std::vector<uint8_t> header = DibHeader(bitmap);
  void* bits = nullptr;
  const UniqueGdiObject<HBITMAP> dib(CreateDIBSection(dc.Get(), reinterpret_cast<const BITMAPINFO*>(header.data()),
                                                      DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.Get() || !bits) throw EOutOfResources(msg::kInvalidBitmap);
  const LOGFONTW logical = DrawingFont(paint.font, bitmap);
  const UniqueGdiObject<HFONT> font(CreateFontIndirectW(&logical));
  if (!font.Get()) throw EOutOfResources(msg::kCannotCreateFont);
  const int64_t stride = bitmap.RowBytes();
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(static_cast<uint8_t*>(bits) + y * stride, bitmap.ScanLine(y), static_cast<size_t>(stride));
  }
  {
    const TScopedSelect with_dib(dc.Get(), dib.Get());
    const TScopedSelect with_font(dc.Get(), font.Get());
    SetTextColor(dc.Get(), paint.color & 0xFFFFFF);
    SetBkColor(dc.Get(), paint.brush_color & 0xFFFFFF);
    SetBkMode(dc.Get(), paint.opaque ? OPAQUE : TRANSPARENT);
    SetTextAlign(dc.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    draw(dc.Get());
    GdiFlush();
  }
  CopyBack(static_cast<const uint8_t*>(bits), bitmap);
}

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }
int Length(std::u16string_view text) { return static_cast<int>(std::min<size_t>(text.size(), INT_MAX)); }

}  // namespace

LOGFONTW UprightLogicalFont(const TFontRecord& font) {
  LOGFONTW logical{};
  logical.lfHeight = font.height;
  logical.lfWeight = font.weight;
  logical.lfItalic = font.italic;
  logical.lfUnderline = font.underline;
  logical.lfStrikeOut = font.strike_out;
  logical.lfCharSet = font.char_set;
  logical.lfQuality = font.quality;
  const size_t length = std::min(font.face_name.size(), kFaceNameLength);
  std::memcpy(logical.lfFaceName, font.face_name.data(), length * sizeof(wchar_t));
  return logical;
}

void GdiDrawLine(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y, std::u16string_view text) {
  DrawOnBitmap(bitmap, paint, [&](HDC dc) { TextOutW(dc, x, y, Wide(text), Length(text)); });
}

int32_t GdiDrawInRect(TBitmap& bitmap, const TTextPaint& paint, const TRect& rect, uint32_t format,
                      std::u16string_view text) {
  // The text is drawn as given: never a prefix mark, never a tab stop.
  const UINT flags = (format & (kTextCentre | kTextRight | kTextWordBreak | kTextNoClip)) | DT_NOPREFIX;
  int32_t height = 0;
  DrawOnBitmap(bitmap, paint, [&](HDC dc) {
    RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
    if (!text.empty()) height = DrawTextW(dc, Wide(text), Length(text), &area, flags);
  });
  return height;
}

}  // namespace pk
