// TbwJpegX86: the JPEG class of the x86 component. Over the platform class it
// keeps the resolution with the shared bytes (every object sharing them sees
// it), decodes with its own rules (floating-point DCT for quality, grey and
// 8-bit output quantised to 236 colours, dithered), encodes baseline with a
// floating-point DCT, the JFIF density in dots per inch and grey as the plain
// mean of the colours, and reports the file's colour space.
#pragma once

#include <cstdint>

#include "jpeg/jpeg_image.h"

namespace pk {

enum class TJPEGColorSpace { jcsRGB, jcsCMYK, jcsGSCALE, jcsYUV, jcsUNKNOWN };

class TbwJpegX86 : public TJPEGImage {
 public:
  // Shares the bytes; a decoded source's bitmap is copied and sets the shared
  // resolution from its pixels per metre.
  void Assign(const TJPEGImage& source) override;
  void Assign(const TBitmap& source) override;
  // A TBMPImage dest also gets the resolution as pixels per metre.
  void AssignTo(TBitmap& dest) override;
  // Compresses when needed, adds the metadata segments and writes the bytes
  // with the density patched in; the stream is left at position 0.
  void SaveToStream(TStream& stream) override;

  // The resolution in the shared record; setters keep the low 16 bits.
  int XDPI() const { return Image().XDPI; }
  int YDPI() const { return Image().YDPI; }
  void SetXDPI(int value) { Image().XDPI = static_cast<uint16_t>(value); }
  void SetYDPI(int value) { Image().YDPI = static_cast<uint16_t>(value); }
  // Of the file last loaded.
  TJPEGColorSpace ColorSpace() const { return color_space_; }
  bool WasCMYK() const { return color_space_ == TJPEGColorSpace::jcsCMYK; }

 protected:
  JpegDecodeOptions DecodeOptions() const override;
  std::vector<uint8_t> EncodeBitmap(TBMPImage& bitmap) override;
  void Loaded() override;
  void Decoded(TBMPImage& bitmap) const override;

 private:
  // The metadata of a loaded file (EXIF, IPTC, XMP, ICC, RMETA and the quality
  // estimate) are read here once the metadata models are wired; until then a
  // load reads none.
  void ReadMetaData() {}
  // The metadata segments go in right after the JFIF APP0 here once the
  // metadata models are wired; until then saved files carry none.
  void InsertMetaDataSegments(std::vector<uint8_t>&) {}

  TJPEGColorSpace color_space_ = TJPEGColorSpace::jcsRGB;
};

}  // namespace pk
