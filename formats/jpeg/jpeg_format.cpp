#include "formats/jpeg/jpeg_format.h"

#include "jpeg/jpeg_codec.h"
#include "jpeg/jpeg_flavour.h"
#include "jpeg/jpeg_messages.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk {

TDecodedImage DecodeJpegImage(std::span<const uint8_t> bytes, const TDecodeOptions& options) {
  TbwJpeg jpeg;
  jpeg.SetDecodeLimits(options.limits);
  jpeg.SetPixelFormat(TJPEGPixelFormat::jf24Bit);
  jpeg.SetPerformance(options.higher_speed ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
  TDecodedImage decoded;
  try {
    jpeg.LoadFromBytes({bytes.begin(), bytes.end()});
    decoded.grey = jpeg.Grayscale();
  } catch (const Exception&) {
    throw EInvalidGraphic(msg::kJpegCorruptFile);
  }
  jpeg.AssignTo(decoded.bitmap);
  decoded.resolution = TResolution{jpeg.XDPI(), jpeg.YDPI()};
  decoded.progressive = jpeg.ProgressiveEncoding();
  decoded.cmyk = jpeg.WasCMYK();
  return decoded;
}

std::vector<uint8_t> EncodeJpegImage(const TBitmap& image, const TEncodeOptions& options) {
  TbwJpeg jpeg;
  jpeg.SetGrayscale(options.grey);
  jpeg.Assign(image);
  jpeg.SetCompressionQuality(options.quality);
  jpeg.SetXDPI(static_cast<uint16_t>(options.resolution.x));
  jpeg.SetYDPI(static_cast<uint16_t>(options.resolution.y));
  jpeg.SetProgressiveEncoding(options.progressive);
  TMemoryStream out;
  jpeg.SaveToStream(out);
  return out.Release();
}

TImageDimensions ProbeJpegImage(std::span<const uint8_t> bytes, int32_t) {
  const JpegHeader header = ReadJpegHeader(bytes);
  return {static_cast<uint32_t>(header.width), static_cast<uint32_t>(header.height)};
}

}  // namespace pk
