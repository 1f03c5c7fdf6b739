// The multi-format loader and the dimension probe: free functions that read an
// image of any format the registry decodes, or measure one from its headers,
// and touch no object's state. The merge members load their second image
// through the loader; GetDimensions and GetDimensionsBin measure through the
// probe. The format is told by the data's first byte; the extension only
// checks it.
//
// The byte-array form of the loader is the stream form: the COM edge turns a
// VARIANT byte array into bytes before anything here runs.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/graphics_format.h"
#include "core/image_codec.h"

namespace pk {

struct TLoadRequest {
  // 1-based: the GIF frame, TIFF page or PDF image.
  int32_t image_number = 1;
  // Skips the check that the extension names the data's format.
  bool skip_check = false;
};

// The decoded image with the format its first byte named. The image's
// transparent fact is set for a transparent GIF frame or a PNG with one
// transparent colour, its background for PNG, its alpha record for PNG.
struct TLoadedImage {
  TGraphicsFormat format = TGraphicsFormat::gfUnknown;
  TDecodedImage image;
};

// Raises EFOpenError "File not found: " + the name without directories when
// no such file exists (the name is plain text in the message), then loads the
// whole file with its lower-cased extension.
TLoadedImage LoadImageFile(std::span<const TImageCodec> codecs, const std::u16string& file_name,
                           const TLoadRequest& request);

// Raises EInvalidFormat "Empty input file or stream." for no bytes, and
// EFOpenError "Invalid file type." for data of no known format, an extension
// that does not name the data's format (unless skipped), or a format without
// a decoder; the codecs' own errors pass through.
TLoadedImage LoadImageStream(std::span<const TImageCodec> codecs, std::span<const uint8_t> bytes,
                             const TLoadRequest& request, std::u16string_view extension);

// True with the size the data's headers state, or false with 0 × 0 for
// unknown data, formats without a probe (PDF) and anything the probe cannot
// read. Never raises.
bool GetImageDimensions(std::span<const TImageCodec> codecs, std::span<const uint8_t> bytes,
                        int32_t image_number, TImageDimensions& dimensions) noexcept;

}  // namespace pk
