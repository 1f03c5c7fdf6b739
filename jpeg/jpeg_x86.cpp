#include "jpeg/jpeg_x86.h"

#include "core/greyscale.h"
#include "jpeg/jpeg_density.h"

namespace pk {
namespace {

// The colour count of every quantised output: what an 8-bit display leaves
// free beside the system's 20 reserved colours.
constexpr int kQuantisedColours = 236;

TJPEGColorSpace ColorSpaceOf(JpegColourModel model) {
  switch (model) {
    case JpegColourModel::grey: return TJPEGColorSpace::jcsGSCALE;
    case JpegColourModel::rgb: return TJPEGColorSpace::jcsRGB;
    case JpegColourModel::ycbcr: return TJPEGColorSpace::jcsYUV;
    case JpegColourModel::cmyk:
    case JpegColourModel::ycck: return TJPEGColorSpace::jcsCMYK;
    case JpegColourModel::unknown: break;
  }
  return TJPEGColorSpace::jcsUNKNOWN;
}

void SetResolutionFrom(TJPEGData& image, const TBMPImage& bitmap) {
  image.XDPI = DpiFromPelsPerMetre(bitmap.XPelsPerMeter());
  image.YDPI = DpiFromPelsPerMetre(bitmap.YPelsPerMeter());
}

}  // namespace

void TbwJpegX86::Assign(const TJPEGImage& source) {
  TJPEGImage::Assign(source);
  if (HasBitmap()) SetResolutionFrom(Image(), Bitmap());
}

void TbwJpegX86::Assign(const TBitmap& source) {
  TJPEGImage::Assign(source);
  if (dynamic_cast<const TBMPImage*>(&source)) SetResolutionFrom(Image(), Bitmap());
}

void TbwJpegX86::AssignTo(TBitmap& dest) {
  TJPEGImage::AssignTo(dest);
  if (auto* bmp = dynamic_cast<TBMPImage*>(&dest)) {
    bmp->SetXPelsPerMeter(PelsPerMetreFromDpi(Image().XDPI));
    bmp->SetYPelsPerMeter(PelsPerMetreFromDpi(Image().YDPI));
  }
}

void TbwJpegX86::SaveToStream(TStream& stream) {
  std::vector<uint8_t> bytes = BytesToSave();
  InsertMetaDataSegments(bytes);
  WriteWithResolution(stream, bytes, Image().XDPI, Image().YDPI);
}

JpegDecodeOptions TbwJpegX86::DecodeOptions() const {
  const bool speed = Performance() == TJPEGPerformance::jpBestSpeed;
  JpegDecodeOptions decode;
  decode.scale_denominator = 1 << static_cast<int>(Scale());
  decode.dct = speed ? JpegDct::integer_fast : JpegDct::floating;
  decode.block_smoothing = Smoothing();
  decode.grey_output = Grayscale();
  if (PixelFormat() == TJPEGPixelFormat::jf8Bit || decode.grey_output) {
    decode.quantise_colours = kQuantisedColours;
    decode.two_pass_quantise = !speed;
    decode.dither = speed ? JpegDither::ordered : JpegDither::floyd_steinberg;
  }
  return decode;
}

std::vector<uint8_t> TbwJpegX86::EncodeBitmap(TBMPImage& bitmap) {
  JpegEncodeOptions encode;
  encode.quality = CompressionQuality();
  encode.force_baseline = true;
  encode.dct = JpegDct::floating;
  encode.progressive = ProgressiveEncoding();
  if (Grayscale()) {
    // The object's own bitmap becomes the grey image that is written.
    MakeGreyscale(bitmap, bitmap);
    encode.grey = true;
    Image().Grayscale = true;
  }
  const JfifDensity density = DensityForDpi(Image().XDPI, Image().YDPI);
  encode.density_unit = density.unit;
  encode.x_density = density.x;
  encode.y_density = density.y;
  return EncodeJpeg(bitmap, encode);
}

void TbwJpegX86::Loaded() {
  const JpegHeader& header = Header();
  if (!ImageData().empty()) {
    Image().XDPI = DpiFromDensity(header.density_unit, header.x_density, CentimetreRule::times_2_54);
    Image().YDPI = DpiFromDensity(header.density_unit, header.y_density, CentimetreRule::times_2_54);
    color_space_ = ColorSpaceOf(header.colour_model);
  }
  ReadMetaData();
}

void TbwJpegX86::Decoded(TBMPImage& bitmap) const {
  const JpegHeader& header = Header();
  bitmap.SetXPelsPerMeter(PelsPerMetreFromDensity(header.density_unit, header.x_density));
  bitmap.SetYPelsPerMeter(PelsPerMetreFromDensity(header.density_unit, header.y_density));
}

}  // namespace pk
