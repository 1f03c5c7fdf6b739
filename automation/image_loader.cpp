#include "automation/image_loader.h"

#include "automation/automation_errors.h"
#include "automation/file_names.h"
#include "automation/image_channels.h"
#include "automation/messages.h"
#include "core/file_utils.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk {

TLoadedImage LoadImageFile(std::span<const TImageCodec> codecs, const std::u16string& file_name,
                           const TLoadRequest& request) {
  if (!IsExistingFile(file_name)) throw EFOpenError(msg::kFileNotFound + ExtractFileName(file_name));
  TMemoryStream data;
  data.LoadFromFile(file_name);
  return LoadImageStream(codecs, data.Bytes(), request, LowerCaseAscii(ExtractFileExt(file_name)));
}

TLoadedImage LoadImageStream(std::span<const TImageCodec> codecs, std::span<const uint8_t> bytes,
                             const TLoadRequest& request, std::u16string_view extension) {
  if (bytes.empty()) throw EInvalidFormat(msg::kEmptyInput);
  TLoadedImage loaded;
  loaded.format = DetectImageType(bytes[0]);
  const TFormatChannels* channels = ChannelsOf(loaded.format);
  if (channels == nullptr ||
      (!request.skip_check && !AcceptsExtension(*channels, LowerCaseAscii(StripLeadingDot(extension))))) {
    throw EFOpenError(msg::kInvalidFileType);
  }
  const TImageCodec* codec = FindImageCodec(codecs, loaded.format);
  if (codec == nullptr || codec->decode == nullptr) throw EFOpenError(msg::kInvalidFileType);
  TDecodeOptions options;
  options.image_number = request.image_number;
  loaded.image = codec->decode(bytes, options);
  return loaded;
}

bool GetImageDimensions(std::span<const TImageCodec> codecs, std::span<const uint8_t> bytes,
                        int32_t image_number, TImageDimensions& dimensions) noexcept {
  dimensions = {};
  if (bytes.empty()) return false;
  const TImageCodec* codec = FindImageCodec(codecs, DetectImageType(bytes[0]));
  if (codec == nullptr || codec->probe == nullptr) return false;
  // A probe reads untrusted headers: whatever it cannot read is no size.
  try {
    dimensions = codec->probe(bytes, image_number);
    return true;
  } catch (...) {
    dimensions = {};
    return false;
  }
}

}  // namespace pk
