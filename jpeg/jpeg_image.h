// TJPEGImage: the platform's JPEG image class, which both TbwJpeg flavours
// build on. It keeps the JPEG file bytes in a record that objects share when
// one is assigned from another, reads the header facts without decoding,
// decodes into a bitmap only when pixels are asked for (and caches it), and
// encodes the bitmap only when bytes are asked for.
//
// An object holds bytes, a decoded bitmap, both or neither: loading sets bytes
// and drops the bitmap; assigning a bitmap sets the bitmap and drops the
// bytes; decoding adds the bitmap; compressing adds the bytes. The option
// setters that change decoding drop the cached bitmap so the next use decodes
// again; Grayscale only stores, so that it may be set after the bitmap to
// encode was assigned.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/bmp_image.h"
#include "jpeg/jpeg_codec.h"

namespace pk {

class TStream;

enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
// Decode at 1, 1/2, 1/4, 1/8 of the size.
enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum class TJPEGPixelFormat { jf24Bit, jf8Bit };

struct TJPEGOptions {
  int CompressionQuality = 90;  // 1..100
  bool Grayscale = false;
  TJPEGPerformance Performance = TJPEGPerformance::jpBestQuality;
  // The component never draws on a palette display, so 24 bits it is.
  TJPEGPixelFormat PixelFormat = TJPEGPixelFormat::jf24Bit;
  bool ProgressiveDisplay = false;
  bool ProgressiveEncoding = false;
  TJPEGScale Scale = TJPEGScale::jsFullSize;
  bool Smoothing = true;
};

// The JPEG file and what its header said, as every sharer sees it.
struct TJPEGData {
  // None until bytes are loaded or compressed; compressing nothing holds none.
  std::optional<std::vector<uint8_t>> Data;
  // Of the frame header, or of the bitmap last compressed.
  int Width = 0;
  int Height = 0;
  // The file is grey, or the bytes were compressed as grey.
  bool Grayscale = false;
  JpegHeader Header;
  // The resolution of the class that keeps it with the shared bytes (x86).
  uint16_t XDPI = 0;
  uint16_t YDPI = 0;
};

class TJPEGImage {
 public:
  TJPEGImage();
  virtual ~TJPEGImage();
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  // Loads the bytes from the stream's position to its end.
  void LoadFromStream(TStream& stream);
  // Takes the bytes and reads their header (EJPEG when libjpeg refuses it).
  void LoadFromBytes(std::vector<uint8_t> bytes);
  // Compresses when needed and writes the held bytes.
  virtual void SaveToStream(TStream& stream);

  // Shares the source's bytes record and copies its decoded bitmap, if any;
  // the options stay this object's.
  virtual void Assign(const TJPEGImage& source);
  // Drops the bytes and takes a copy of the bitmap.
  virtual void Assign(const TBitmap& source);
  // Gives dest the image: a copy of the cached bitmap, or a decode straight
  // into dest when none is cached.
  virtual void AssignTo(TBitmap& dest);

  // The decoded size when decoded; else the header's, scaled by Scale.
  int Width() const;
  int Height() const;
  // Raise EInvalidGraphicOperation: a JPEG's size follows its data.
  void SetWidth(int);
  void SetHeight(int);
  bool Empty() const;

  int CompressionQuality() const { return options_.CompressionQuality; }
  void SetCompressionQuality(int value) { options_.CompressionQuality = value; }
  bool Grayscale() const { return options_.Grayscale || image_->Grayscale; }
  void SetGrayscale(bool value) { options_.Grayscale = value; }
  TJPEGPerformance Performance() const { return options_.Performance; }
  void SetPerformance(TJPEGPerformance value);
  TJPEGPixelFormat PixelFormat() const { return options_.PixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat value);
  // Stored only: intermediate passes of a progressive file are for display,
  // and the component never displays, so every decode gives the final image.
  bool ProgressiveDisplay() const { return options_.ProgressiveDisplay; }
  void SetProgressiveDisplay(bool value) { options_.ProgressiveDisplay = value; }
  // Encode progressive; after loading, the file has several scans.
  bool ProgressiveEncoding() const { return options_.ProgressiveEncoding; }
  void SetProgressiveEncoding(bool value) { options_.ProgressiveEncoding = value; }
  TJPEGScale Scale() const { return options_.Scale; }
  void SetScale(TJPEGScale value);
  bool Smoothing() const { return options_.Smoothing; }
  void SetSmoothing(bool value);

  // The decoded image (decoding first when needed).
  const TBMPImage& Bitmap();
  void DIBNeeded();
  void JPEGNeeded();
  // Encodes the bitmap into new held bytes (none without a non-empty bitmap).
  void Compress();
  // The held bytes (empty when none are held).
  std::span<const uint8_t> ImageData() const;
  bool HasImageData() const { return image_->Data.has_value(); }
  // The header of the bytes last loaded.
  const JpegHeader& Header() const { return image_->Header; }
  // What a decode may allocate; the defaults unless the caller sets others.
  void SetDecodeLimits(const TDecodeLimits& limits) { limits_ = limits; }

 protected:
  // How this class decodes and encodes; the x86 flavour has its own rules.
  virtual JpegDecodeOptions DecodeOptions() const;
  virtual std::vector<uint8_t> EncodeBitmap(TBMPImage& bitmap);
  // Runs after every load, once the header facts are in.
  virtual void Loaded() {}
  // Runs on every bitmap this class decodes.
  virtual void Decoded(TBMPImage& bitmap) const {}
  // Decodes into out without touching the cached bitmap.
  void DecodeInto(TBitmap& out) const;
  // The held bytes to save, compressed first when needed; EInvalidGraphic
  // "Cannot save - JPG image is empty." when there are none, so that an empty
  // image never reaches a file as a few patched non-JPEG bytes.
  std::vector<uint8_t> BytesToSave();
  // Writes the bytes with their JFIF density set from the resolution and
  // leaves the stream at position 0.
  static void WriteWithResolution(TStream& stream, std::vector<uint8_t>& bytes, uint16_t x_dpi,
                                  uint16_t y_dpi);

  TJPEGData& Image() { return *image_; }
  const TJPEGData& Image() const { return *image_; }
  bool HasBitmap() const { return bitmap_ != nullptr; }
  void NewImage();
  void FreeBitmap() { bitmap_.reset(); }

 private:
  int ScaledSize(bool width) const;

  std::shared_ptr<TJPEGData> image_;
  std::unique_ptr<TBMPImage> bitmap_;
  TJPEGOptions options_;
  TDecodeLimits limits_;
};

}  // namespace pk
