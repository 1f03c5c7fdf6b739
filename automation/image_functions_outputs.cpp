// The output channels of the automation object: one writer chosen by type
// name, and the members that hand its bytes out (a byte array, Base64 text,
// the encoded size, the page's Response), the GDI bitmap handle, and the
// alpha flattening that every output but PNG applies to the object's own
// image (it stays flattened after the output).
#include "automation/automation_errors.h"
#include "automation/file_names.h"
#include "automation/image_channels.h"
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "automation/response_stream.h"
#include "core/file_utils.h"
#include "platform/base64.h"
#include "platform/bitmap_handles.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"

namespace pk {

std::vector<uint8_t> TImageFunctions::SaveToStreamByType(const std::u16string& ImgType) {
  const TGraphicsFormat format = FormatForTypeName(ImgType);
  if (format == TGraphicsFormat::gfUnknown) throw EInvalidFormat(msg::kUnsupportedImageType);
  if (format != TGraphicsFormat::gfPNG) FlattenAlpha();
  const TImageCodec* codec = Codec(format);
  if (codec == nullptr || codec->encode == nullptr) {
    throw EPixmarlError(msg::kWriterNotAvailable + (u"." + LowerCaseAscii(StripLeadingDot(ImgType))));
  }
  TEncodeOptions options = EncodeOptions();
  // The platform's BMP writer behind this road stores no resolution (WriteFile's does).
  if (format == TGraphicsFormat::gfBMP) options.resolution = {};
  return codec->encode(state_.Image(), options);
}

std::vector<uint8_t> TImageFunctions::VariantOut(const std::u16string& ImgType) { return SaveToStreamByType(ImgType); }

std::u16string TImageFunctions::Base64Out(const std::u16string& ImgType) {
  return Base64Encode(SaveToStreamByType(ImgType));
}

int32_t TImageFunctions::NewFileSize(const std::u16string& ImgType) {
  return CheckedInt32(static_cast<int64_t>(SaveToStreamByType(ImgType).size()));
}

void TImageFunctions::StreamToBrowser(const std::u16string& ImgType) {
  StreamToResponse(SaveToStreamByType(ImgType), response_source_);
}

int32_t TImageFunctions::BMPHandle() {
  FlattenAlpha();
  return CreateBitmapHandle(state_.Image());
}

void TImageFunctions::FlattenAlpha() {
  switch (state_.Alpha().TransparencyType()) {
    case TTransparencyType::ttAlpha: state_.FlattenAlphaOnto(settings_.FBackgroundColour); return;
    case TTransparencyType::ttPalette: state_.ResetAlpha(); return;
    default: return;
  }
}

}  // namespace pk
