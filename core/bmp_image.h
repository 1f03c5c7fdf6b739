// TBMPImage: the platform bitmap with a resolution in pixels per metre, a
// header-only probe of BMP data, and a BMP writer of its own for 24-bit images;
// other pixel formats go through the platform writer and get the resolution
// patched into its header.
//
// Every position this class reads or patches counts from where the BMP begins
// in the stream (its position on entry), so BMP data may sit inside a larger
// stream. The resolution is read only from headers that carry it (40 bytes and
// more); the OS/2 core header has none, and its image loads with 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/text_justification.h"
#include "platform/bitmap.h"

namespace pk {

class TStream;

// The rules of the class as functions over bytes, for the BMP codec: a BMP
// begins at the first byte of the span.

// Pixels per metre as a BMP header stores them.
struct TBmpResolution {
  uint32_t x = 0;
  uint32_t y = 0;
};

// What the header probe finds.
struct TBmpProbe {
  uint32_t width = 0;
  // The number of rows, for top-down data as well.
  uint32_t height = 0;
  TBmpResolution resolution;
};

// The resolution of BMP data; 0, 0 for a header without one (the OS/2 core
// header) and for data too short to hold it.
TBmpResolution ReadBmpResolution(std::span<const uint8_t> head);
// The same for the BMP at the stream's position, where the stream is left.
TBmpResolution ReadBmpResolution(TStream& stream);
// The header probe over the first bytes of BMP data (46 are enough) and the
// size of the whole data; EInvalidGraphic "Invalid bitmap" when it is not BMP
// data or too short to be more than headers.
TBmpProbe ProbeBmpHeader(std::span<const uint8_t> head, int64_t data_size);
// Writes the BMP file of the image at the stream's position, leaving the
// stream after it: the 24-bit layout of this class for 24-bit images, the
// platform writer with the resolution patched in for the others.
void WriteBmpFile(TStream& stream, const TBitmap& image, TBmpResolution resolution);

class TBMPImage : public TBitmap {
 public:
  TBMPImage();

  // A plain bitmap copy into dest; the resolution is not carried.
  void AssignTo(TBitmap& dest) const;

  // Reads BMP data at the stream's position; the resolution comes from the
  // header. On an error the image and its resolution are left as they were.
  void LoadFromStream(TStream& stream) override;
  // 24-bit images: the class's own layout, the stream left after the data.
  // Other formats: the platform writer, then the resolution patched in and the
  // stream left where the BMP begins.
  void SaveToStream(TStream& stream) override;

  // Reads only the header at the stream's position into the Read* values;
  // EInvalidGraphic "Invalid bitmap" when it is not BMP data.
  void GetDimensionsFromStream(TStream& stream);
  void GetDimensionsFromFile(const std::u16string& file_name);

  // A paletted image whose 2, 16 or 256 entries are all grey.
  bool IsGrayScale() const;

  uint32_t XPelsPerMeter() const { return FXPelsPerMeter; }
  void SetXPelsPerMeter(uint32_t value) { FXPelsPerMeter = value; }
  uint32_t YPelsPerMeter() const { return FYPelsPerMeter; }
  void SetYPelsPerMeter(uint32_t value) { FYPelsPerMeter = value; }
  uint32_t ReadWidth() const { return FReadWidth; }
  // The number of rows, for top-down data as well.
  uint32_t ReadHeight() const { return FReadHeight; }
  uint32_t ReadXPelsPerMeter() const { return FReadXPelsPerMeter; }
  uint32_t ReadYPelsPerMeter() const { return FReadYPelsPerMeter; }
  TTextJustification TextJustification() const { return FTextJustification; }
  void SetTextJustification(TTextJustification value) { FTextJustification = value; }

 private:
  uint32_t FXPelsPerMeter = 0;
  uint32_t FYPelsPerMeter = 0;
  uint32_t FReadWidth = 0;
  uint32_t FReadHeight = 0;
  uint32_t FReadXPelsPerMeter = 0;
  uint32_t FReadYPelsPerMeter = 0;
  TTextJustification FTextJustification = TTextJustification::tjLeft;
};

}  // namespace pk
