#include "jpeg/jpeg_image.h"

#include <algorithm>

#include "jpeg/jpeg_density.h"

#include "jpeg/jpeg_messages.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk {

TJPEGImage::TJPEGImage() : image_(std::make_shared<TJPEGData>()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::NewImage() { image_ = std::make_shared<TJPEGData>(); }

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Remaining(), 0)));
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  LoadFromBytes(std::move(bytes));
}

void TJPEGImage::LoadFromBytes(std::vector<uint8_t> bytes) {
  auto image = std::make_shared<TJPEGData>();
  if (!bytes.empty()) {
    image->Header = ReadJpegHeader(bytes);
    image->Width = image->Header.width;
    image->Height = image->Header.height;
    image->Grayscale = image->Header.colour_model == JpegColourModel::grey;
  }
  image->Data = std::move(bytes);
  image_ = std::move(image);
  FreeBitmap();
  if (image_->Data->size() > 0) options_.ProgressiveEncoding = image_->Header.progressive;
  Loaded();
}

void TJPEGImage::SaveToStream(TStream& stream) {
  JPEGNeeded();
  const std::span<const uint8_t> bytes = ImageData();
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::vector<uint8_t> TJPEGImage::BytesToSave() {
  JPEGNeeded();
  if (ImageData().empty()) throw EInvalidGraphic(msg::kJpegSaveEmpty);
  return {ImageData().begin(), ImageData().end()};
}

void TJPEGImage::WriteWithResolution(TStream& stream, std::vector<uint8_t>& bytes, uint16_t x_dpi,
                                     uint16_t y_dpi) {
  PatchJfifDensity(bytes, x_dpi, y_dpi);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
}

void TJPEGImage::Assign(const TJPEGImage& source) {
  if (&source == this) return;
  std::unique_ptr<TBMPImage> bitmap;
  if (source.bitmap_) {
    bitmap = std::make_unique<TBMPImage>();
    bitmap->Assign(*source.bitmap_);
    bitmap->SetXPelsPerMeter(source.bitmap_->XPelsPerMeter());
    bitmap->SetYPelsPerMeter(source.bitmap_->YPelsPerMeter());
  }
  image_ = source.image_;
  bitmap_ = std::move(bitmap);
}

void TJPEGImage::Assign(const TBitmap& source) {
  auto bitmap = std::make_unique<TBMPImage>();
  bitmap->Assign(source);
  if (const auto* bmp = dynamic_cast<const TBMPImage*>(&source)) {
    bitmap->SetXPelsPerMeter(bmp->XPelsPerMeter());
    bitmap->SetYPelsPerMeter(bmp->YPelsPerMeter());
  }
  NewImage();
  bitmap_ = std::move(bitmap);
}

void TJPEGImage::AssignTo(TBitmap& dest) {
  // Nothing cached: the pixels go straight into dest, so taking a picture out
  // never holds two copies of it.
  if (!bitmap_ && image_->Data) {
    DecodeInto(dest);
  } else {
    dest.Assign(Bitmap());
  }
}

int TJPEGImage::ScaledSize(bool width) const {
  if (bitmap_) return width ? bitmap_->Width() : bitmap_->Height();
  if (options_.Scale == TJPEGScale::jsFullSize || ImageData().empty()) {
    return width ? image_->Width : image_->Height;
  }
  const JpegSize size = JpegOutputSize(ImageData(), DecodeOptions());
  return width ? size.width : size.height;
}

int TJPEGImage::Width() const { return ScaledSize(true); }
int TJPEGImage::Height() const { return ScaledSize(false); }

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(msg::kJpegCannotResize); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(msg::kJpegCannotResize); }

bool TJPEGImage::Empty() const {
  if (image_->Data) return false;
  return !bitmap_ || bitmap_->Empty();
}

void TJPEGImage::SetPerformance(TJPEGPerformance value) {
  if (value == options_.Performance) return;
  FreeBitmap();
  options_.Performance = value;
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat value) {
  if (value == options_.PixelFormat) return;
  FreeBitmap();
  options_.PixelFormat = value;
}

void TJPEGImage::SetScale(TJPEGScale value) {
  if (value == options_.Scale) return;
  FreeBitmap();
  options_.Scale = value;
}

void TJPEGImage::SetSmoothing(bool value) {
  if (value == options_.Smoothing) return;
  FreeBitmap();
  options_.Smoothing = value;
}

const TBMPImage& TJPEGImage::Bitmap() {
  DIBNeeded();
  return *bitmap_;
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_) return;
  auto bitmap = std::make_unique<TBMPImage>();
  if (image_->Data) {
    DecodeInto(*bitmap);
    Decoded(*bitmap);
  }
  bitmap_ = std::move(bitmap);
}

void TJPEGImage::DecodeInto(TBitmap& out) const { DecodeJpeg(ImageData(), DecodeOptions(), limits_, out); }

void TJPEGImage::JPEGNeeded() {
  if (!image_->Data) Compress();
}

void TJPEGImage::Compress() {
  if (image_->Data) NewImage();
  if (!bitmap_ || bitmap_->Empty()) {
    image_->Data.emplace();
    return;
  }
  std::vector<uint8_t> bytes = EncodeBitmap(*bitmap_);
  image_->Width = bitmap_->Width();
  image_->Height = bitmap_->Height();
  image_->Data = std::move(bytes);
}

std::span<const uint8_t> TJPEGImage::ImageData() const {
  if (!image_->Data) return {};
  return *image_->Data;
}

JpegDecodeOptions TJPEGImage::DecodeOptions() const {
  const bool speed = options_.Performance == TJPEGPerformance::jpBestSpeed;
  JpegDecodeOptions decode;
  decode.scale_denominator = 1 << static_cast<int>(options_.Scale);
  decode.dct = speed ? JpegDct::integer_fast : JpegDct::integer_slow;
  decode.block_smoothing = options_.Smoothing;
  decode.grey_output = Grayscale();
  // Grey output keeps all 256 levels; only colour is quantised for 8 bits.
  if (options_.PixelFormat == TJPEGPixelFormat::jf8Bit && !decode.grey_output) {
    decode.quantise_colours = 256;
    decode.two_pass_quantise = !speed;
    decode.dither = speed ? JpegDither::ordered : JpegDither::floyd_steinberg;
  }
  return decode;
}

std::vector<uint8_t> TJPEGImage::EncodeBitmap(TBMPImage& bitmap) {
  JpegEncodeOptions encode;
  encode.quality = options_.CompressionQuality;
  encode.grey = options_.Grayscale;
  encode.progressive = options_.ProgressiveEncoding;
  if (encode.grey) Image().Grayscale = true;
  return EncodeJpeg(bitmap, encode);
}

}  // namespace pk
