// TBitmap: the component's device-independent bitmap. Rows are padded to four
// bytes and addressed top row first through ScanLine; paletted formats carry a
// colour table of up to 2, 16 or 256 entries (it may hold fewer; missing
// entries read as black). Besides it a bitmap may carry a logical palette,
// which only the formats without a colour table keep apart (a 24-bit bitmap
// converted from a paletted one keeps its old palette until it is released).
//
// The two palette behaviours the raster code relies on:
//  - SetPalette keeps the picture: every pixel is redrawn to the entry of the
//    new palette nearest to its old colour;
//  - SetColorTable keeps the pixel indexes (a raw write of the colour table).
//
// A bitmap is a value: it moves without copying, and copies only when asked
// (Assign, or the explicit copy constructor). Every operation that changes it
// builds the new state aside and swaps it in last, so an error on the way (out
// of memory, a size above the limit) leaves the bitmap exactly as it was. The
// canvas belongs to the object, not to the value: it stays with the bitmap it
// was made for when pixels move in or out.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/color.h"
#include "platform/pixel_format.h"

namespace pk {

class TCanvas;
class TStream;

// The largest pixel buffer a bitmap may hold: anything above raises
// EOutOfResources before a byte is allocated.
inline constexpr int64_t kMaxBitmapBytes = int64_t{1} << 31;

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height, PixelFormat format);
  explicit TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other) = delete;
  // The source is left an empty 24-bit bitmap.
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  virtual ~TBitmap();

  // Deep copy of size, format, colour table, logical palette and pixels.
  void Assign(const TBitmap& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Resizing keeps the format, the palette and the top-left overlap; new pixels
  // are zero. Negative sizes raise EInvalidGraphic.
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);

  PixelFormat GetPixelFormat() const { return format_; }
  // Converts the pixels: to a wider format every pixel keeps its colour (a
  // paletted format going to a wider paletted one keeps its indexes and table);
  // to a narrower paletted format, or from a direct-colour one, every pixel maps
  // to the nearest entry of the target's default palette.
  void SetPixelFormat(PixelFormat format);
  int BitCount() const { return BitsPerPixel(format_); }

  int64_t RowBytes() const { return stride_; }
  // Raises EInvalidGraphic "Scan line index out of range" for a bad row.
  uint8_t* ScanLine(int row);
  const uint8_t* ScanLine(int row) const;

  // The DIB colour table (paletted formats only; empty otherwise).
  std::span<const TColor> ColorTable() const { return color_table_; }
  // Entry index of the colour table, black past the entries held.
  TColor ColorTableEntry(int index) const;
  // Replaces the colour table keeping every pixel index; entries past the
  // format's capacity are dropped. Does nothing on a direct-colour bitmap.
  void SetColorTable(std::span<const TColor> colors);

  bool HasPalette() const;
  // The logical palette: the colour table for paletted formats.
  std::vector<TColor> Palette() const;
  // Keeps the picture: a paletted bitmap's pixels are redrawn to the nearest
  // entries of the new table; a direct-colour bitmap only stores the palette.
  void SetPalette(std::span<const TColor> colors);
  // Drops the logical palette of a direct-colour bitmap.
  void ReleasePalette() noexcept { palette_.clear(); }

  // Pixel access by coordinates (unchecked beyond ScanLine's row check).
  int PixelIndex(int x, int y) const;              // paletted formats
  void SetPixelIndex(int x, int y, int index);     // paletted formats
  TColor PixelColor(int x, int y) const;           // any format
  // Nearest colour-table entry for paletted formats.
  void SetPixelColor(int x, int y, TColor colour);

  TCanvas& Canvas();

  // The platform BMP codec: reads every common BMP variant, writes a 40-byte
  // header, the colour table and bottom-up rows.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream);
  void LoadFromFile(const std::u16string& file_name);
  void SaveToFile(const std::u16string& file_name);

  // Adopts pixels that a decoder produced: format, size, table and rows
  // (stride-padded, top row first, padding zero) in one step, without a copy.
  void Adopt(PixelFormat format, int width, int height, std::vector<TColor> table, TByteBuffer rows);

 private:
  // Takes other's size, format, tables and pixels, leaving it empty; the
  // canvases stay where they are.
  void TakeState(TBitmap& other) noexcept;
  // SetPixelFormat between paletted formats, to a wider one: indexes and
  // colour table kept.
  void WidenIndexes(PixelFormat format);

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::pf24bit;
  int64_t stride_ = 0;
  TByteBuffer pixels_;
  std::vector<TColor> color_table_;
  std::vector<TColor> palette_;
  std::unique_ptr<TCanvas> canvas_;
};

// Bytes a width × height bitmap of the format needs; raises EOutOfResources
// above kMaxBitmapBytes and EInvalidGraphic for negative sizes.
int64_t CheckedBitmapBytes(int64_t width, int64_t height, PixelFormat format);

}  // namespace pk
