#include "jpeg/jpeg_x64.h"

#include "jpeg/jpeg_density.h"

namespace pk {
namespace {

TJPEGColourSpace ColourSpaceOfComponents(int components) {
  switch (components) {
    case 1: return TJPEGColourSpace::jcsGSCALE;
    case 3: return TJPEGColourSpace::jcsRGB;
    case 4: return TJPEGColourSpace::jcsCMYK;
    default: return TJPEGColourSpace::jcsUNKNOWN;
  }
}

}  // namespace

void TbwJpegX64::Assign(const TJPEGImage& source) {
  TJPEGImage::Assign(source);
  const auto* other = dynamic_cast<const TbwJpegX64*>(&source);
  x_dpi_ = other ? other->x_dpi_ : 0;
  y_dpi_ = other ? other->y_dpi_ : 0;
}

void TbwJpegX64::Assign(const TBitmap& source) {
  TJPEGImage::Assign(source);
  const auto* bmp = dynamic_cast<const TBMPImage*>(&source);
  x_dpi_ = bmp ? DpiFromPelsPerMetre(bmp->XPelsPerMeter()) : 0;
  y_dpi_ = bmp ? DpiFromPelsPerMetre(bmp->YPelsPerMeter()) : 0;
}

void TbwJpegX64::AssignTo(TBitmap& dest) {
  TJPEGImage::AssignTo(dest);
  if (auto* bmp = dynamic_cast<TBMPImage*>(&dest)) {
    bmp->SetXPelsPerMeter(PelsPerMetreFromDpi(x_dpi_));
    bmp->SetYPelsPerMeter(PelsPerMetreFromDpi(y_dpi_));
  }
}

void TbwJpegX64::SaveToStream(TStream& stream) {
  std::vector<uint8_t> bytes = BytesToSave();
  WriteMetaData(bytes);
  WriteWithResolution(stream, bytes, x_dpi_, y_dpi_);
}

void TbwJpegX64::Loaded() {
  // Each load starts from no resolution: a file without a JFIF density must
  // not report the one of the image loaded before it.
  const JpegHeader& header = Header();
  x_dpi_ = DpiFromDensity(header.density_unit, header.x_density, CentimetreRule::over_0_3937);
  y_dpi_ = DpiFromDensity(header.density_unit, header.y_density, CentimetreRule::over_0_3937);
  colour_space_ = ColourSpaceOfComponents(ImageData().empty() ? 0 : header.components);
  ReadMetaData();
}

}  // namespace pk
