// The input members besides the file road: Base64 text, bitmap handles, new
// canvases, and the dimension probes that measure without loading.
#include <algorithm>
#include <vector>

#include "automation/colour_text_conversion.h"
#include "automation/image_functions.h"
#include "automation/image_loader.h"
#include "core/palette_helpers.h"
#include "platform/base64_decoder.h"
#include "platform/bitmap_handles.h"
#include "platform/canvas.h"
#include "platform/numeric.h"
#include "platform/stream.h"

namespace pk {

namespace {

constexpr std::u16string_view kDataUrlStart = u"data:image";

// Base64 is ASCII: a character beyond it is no letter of the alphabet, and is
// dropped here rather than mapped through a code page whose best-fit
// substitutes could turn it into one and corrupt the data.
std::u16string AsciiOnly(std::u16string_view text) {
  std::u16string ascii;
  ascii.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(ascii), [](char16_t c) { return c < 0x80; });
  return ascii;
}

PixelFormat ColourDepthToPixelFormat(int32_t depth) {
  switch (depth) {
    case 1: return PixelFormat::pf1bit;
    case 4: return PixelFormat::pf4bit;
    case 8: return PixelFormat::pf8bit;
    default: return PixelFormat::pf24bit;
  }
}

}  // namespace

void TImageFunctions::Base64In(const std::u16string& Input) {
  std::u16string text = AsciiOnly(Input);
  if (text.starts_with(kDataUrlStart)) {
    const size_t comma = text.find(u',');
    if (comma != std::u16string::npos) text.erase(0, comma + 1);
  }
  LoadFromBytes(DecodeBase64Lenient(text), u"", false);
}

// Failures are swallowed: an invalid handle leaves an empty image and the
// settings as they were.
void TImageFunctions::SetBMPHandle(int32_t Value) {
  state_.Clear();
  try {
    std::unique_ptr<TBitmap> bitmap = TakeOverBitmapHandle(Value);
    state_.Replace(std::move(*bitmap), nullptr);
  } catch (const std::exception&) {
    return;
  }
  settings_.FCompressionType = TxCompressionType::ctNone;
  settings_.FProgressiveJpeg = false;
  settings_.FJpegGrayscale = false;
  settings_.FWasCMYK = false;
}

void TImageFunctions::NewImage(int32_t Width, int32_t Height, const std::u16string& Colour) {
  const TColor colour = ColourFromText(Colour).value_or(0xFFFFFF);
  TBitmap canvas;
  canvas.SetPixelFormat(ColourDepthToPixelFormat(state_.ColourDepth()));
  canvas.SetSize(Width, Height);
  if (const auto table = PaletteWithColours(canvas, {&colour, 1})) canvas.SetColorTable(*table);
  canvas.Canvas().Brush.Color = colour;
  canvas.Canvas().FillRect({0, 0, canvas.Width(), canvas.Height()});
  // The canvas has the depth's own format, so ColorDepth stays what it was.
  state_.Replace(std::move(canvas), nullptr);
  settings_.FXDPI = 0;
  settings_.FYDPI = 0;
  settings_.FCompressionType = TxCompressionType::ctNone;
  settings_.FProgressiveJpeg = false;
  settings_.FWasCMYK = false;
  settings_.FHasBackground = false;
  settings_.FBackgroundColour = 0xFFFFFF;
}

// The file name is not trimmed; a file that cannot be opened raises the
// stream's open error.
void TImageFunctions::GetDimensions(const std::u16string& Filename) {
  TMemoryStream data;
  data.LoadFromFile(Filename);
  GetDimensionsBin(data.Bytes());
}

void TImageFunctions::GetDimensionsBin(std::span<const uint8_t> Filestream) {
  TImageDimensions dimensions;
  GetImageDimensions(codecs_, Filestream, 1, dimensions);
  settings_.FReadWidth = ClampToInt32(int64_t{dimensions.width});
  settings_.FReadHeight = ClampToInt32(int64_t{dimensions.height});
}

}  // namespace pk
