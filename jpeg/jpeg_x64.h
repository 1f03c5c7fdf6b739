// TbwJpegX64: the JPEG class of the x86-64 component. It decodes and encodes
// as the platform class does and keeps a resolution of its own (not shared
// with the bytes), read from the JFIF density when loading and written into it
// when saving. Its colour space comes from the frame header's component count,
// which every file has whatever its scans hold.
#pragma once

#include <cstdint>

#include "jpeg/jpeg_image.h"

namespace pk {

enum class TJPEGColourSpace { jcsRGB, jcsCMYK, jcsGSCALE, jcsYUV, jcsUNKNOWN };

class TbwJpegX64 : public TJPEGImage {
 public:
  // Shares the bytes and always copies the resolution of a TbwJpegX64 source;
  // any other source leaves no resolution.
  void Assign(const TJPEGImage& source) override;
  // A TBMPImage gives its pixels per metre as the resolution.
  void Assign(const TBitmap& source) override;
  // A TBMPImage dest also gets the resolution as pixels per metre.
  void AssignTo(TBitmap& dest) override;
  // Encodes, adds the metadata and writes the bytes with the density patched
  // in; the stream is left at position 0.
  void SaveToStream(TStream& stream) override;

  uint16_t XDPI() const { return x_dpi_; }
  uint16_t YDPI() const { return y_dpi_; }
  void SetXDPI(uint16_t value) { x_dpi_ = value; }
  void SetYDPI(uint16_t value) { y_dpi_ = value; }
  bool WasCMYK() const { return colour_space_ == TJPEGColourSpace::jcsCMYK; }
  TJPEGColourSpace ColourSpace() const { return colour_space_; }

 protected:
  void Loaded() override;

 private:
  // The metadata of a loaded file are read here once the metadata models are
  // wired; until then a load reads none.
  void ReadMetaData() {}
  // Rewrites the encoded stream with the object's metadata once the metadata
  // models are wired; until then saved files carry none.
  void WriteMetaData(std::vector<uint8_t>&) {}

  uint16_t x_dpi_ = 0;
  uint16_t y_dpi_ = 0;
  TJPEGColourSpace colour_space_ = TJPEGColourSpace::jcsUNKNOWN;
};

}  // namespace pk
