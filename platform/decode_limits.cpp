#include "platform/decode_limits.h"

#include <string>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace pk {

namespace {

std::u16string Number(int64_t value) { return Utf8ToUtf16(std::to_string(value)); }

[[noreturn]] void RaiseTooLarge(std::u16string_view format_name, const std::u16string& claim, int64_t limit,
                                std::u16string_view unit) {
  throw EOutOfResources(msg::kImageTooLarge + std::u16string(format_name) + msg::kImageTooLargeDeclares + claim + msg::kImageTooLargeLimit +
                        Number(limit) + u" " + std::u16string(unit));
}

}  // namespace

int64_t CheckDecodeClaim(const TDecodeLimits& limits, std::u16string_view format_name, int64_t width,
                         int64_t height, PixelFormat format) {
  if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX)
    throw EInvalidGraphic(msg::kInvalidBitmapSize);
  const std::u16string claim = Number(width) + u" x " + Number(height) + u" pixels";
  // Both factors are below 2^31, so the product fits in 64 bits.
  if (width * height > limits.max_pixels) RaiseTooLarge(format_name, claim, limits.max_pixels, u"pixels");
  const int64_t stride = RowBytes(width, format);
  if (height != 0 && stride > limits.max_bytes / height) {
    RaiseTooLarge(format_name, claim + u" at " + Number(BitsPerPixel(format)) + u" bits per pixel",
                  limits.max_bytes, u"bytes");
  }
  return stride * height;
}

void CheckDecodeBuffer(const TDecodeLimits& limits, std::u16string_view format_name, std::u16string_view what,
                       int64_t bytes) {
  if (bytes > limits.max_bytes) {
    RaiseTooLarge(format_name, std::u16string(what) + u" of " + Number(bytes) + u" bytes", limits.max_bytes,
                  u"bytes");
  }
}

}  // namespace pk
