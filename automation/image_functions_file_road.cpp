// The file road of the automation object: ReadFile and the load steps it
// shares with the other input members, and WriteFile with its overwrite modes.
//
// Loading forgets everything the previous image left behind (its alpha record
// and per-index transparency) before the new data is decoded, so no setting
// of one image leaks into the output of the next. Writing encodes into a
// staged file (straight from the picture's rows where the format allows) and
// then commits it in one step, so a failing encoder or a full disk never
// destroys the file that was there; only owAlways ever replaces a file, so
// writers racing for one name lose nothing.
#include <string>

#include "automation/automation_errors.h"
#include "automation/file_names.h"
#include "automation/image_channels.h"
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "core/file_utils.h"
#include "platform/exceptions.h"
#include "platform/file_system.h"
#include "platform/numeric.h"
#include "platform/stream.h"

namespace pk {

void TImageFunctions::ReadFile(const std::u16string& Filename) {
  const std::u16string name = TrimText(Filename);
  if (!IsExistingFile(name)) throw EPixmarlError(msg::kFileNotFound + ExtractFileName(Filename));
  TFileStream file(name, FileMode::fmOpenRead);
  LoadFromStream(file, LowerCaseAscii(ExtractFileExt(name)), !settings_.FIgnoreInputFileType);
}

void TImageFunctions::ReadVariant(std::span<const uint8_t> ImgData) { LoadFromBytes(ImgData, u"", false); }

void TImageFunctions::LoadFromBytes(std::span<const uint8_t> data, const std::u16string& extension,
                                    bool check_extension) {
  TSpanStream source(data);
  const TImageCodec& codec = BeginLoad(source, extension, check_extension);
  ReplaceImage(codec.decode(data, DecodeOptions()));
}

void TImageFunctions::LoadFromStream(TStream& source, const std::u16string& extension, bool check_extension) {
  const TImageCodec& codec = BeginLoad(source, extension, check_extension);
  if (codec.read != nullptr) {
    ReplaceImage(codec.read(source, DecodeOptions()));
    return;
  }
  const TByteBuffer data = ReadStreamBytes(source);
  ReplaceImage(codec.decode(data, DecodeOptions()));
}

const TImageCodec& TImageFunctions::BeginLoad(TStream& source, const std::u16string& extension,
                                              bool check_extension) {
  const int64_t size = source.Size();
  if (size == 0) throw EInvalidFormat(msg::kEmptyInput);
  const uint8_t first_byte = source.ReadByte();
  source.SetPosition(0);
  state_.Clear();
  settings_.FWasCMYK = false;
  settings_.FFileSize = ClampToInt32(size);
  settings_.FOriginalImageType = DetectImageType(first_byte);

  const TFormatChannels* channels = ChannelsOf(settings_.FOriginalImageType);
  if (check_extension && (channels == nullptr || !AcceptsExtension(*channels, StripLeadingDot(TrimText(extension))))) {
    throw EPixmarlError(msg::kInvalidFileType);
  }
  const TImageCodec* codec = Codec(settings_.FOriginalImageType);
  if (channels == nullptr || !channels->object_road_reads || codec == nullptr || codec->decode == nullptr) {
    throw EPixmarlError(msg::kInvalidFileType);
  }
  return *codec;
}

TDecodeOptions TImageFunctions::DecodeOptions() const {
  TDecodeOptions options;
  options.higher_speed = settings_.FJpegHigherSpeed;
  return options;
}

void TImageFunctions::ReplaceImage(TDecodedImage image) {
  state_.Replace(std::move(image.bitmap), std::move(image.alpha));
  if (image.resolution) {
    settings_.FXDPI = image.resolution->x;
    settings_.FYDPI = image.resolution->y;
  }
  if (image.transparent) {
    settings_.FTransparent = image.transparent->present;
    if (image.transparent->present) settings_.FTransparentColour = image.transparent->colour;
  }
  if (image.background) {
    settings_.FHasBackground = image.background->present;
    settings_.FBackgroundColour = image.background->colour;
  }
  if (image.grey) settings_.FJpegGrayscale = *image.grey;
  if (image.progressive) settings_.FProgressiveJpeg = *image.progressive;
  settings_.FWasCMYK = image.cmyk;
  if (image.compression) settings_.FCompressionType = CompressionTypeOf(*image.compression);
}

namespace {

// "<name without extension><OverwriteChr><n><lower-case extension>".
std::u16string NumberedName(const std::u16string& name, const std::u16string& extension,
                            const std::u16string& overwrite_chr, uint64_t n) {
  std::u16string candidate = name.substr(0, name.size() - extension.size()) + overwrite_chr;
  for (char c : std::to_string(n)) candidate += static_cast<char16_t>(c);
  return candidate + LowerCaseAscii(extension);
}

}  // namespace

std::u16string TImageFunctions::WriteTarget(const std::u16string& name, const std::u16string& extension) const {
  if (!IsExistingFile(name)) return name;
  switch (settings_.FOWModeType) {
    case TxowMode::owAlways: return name;
    case TxowMode::owNever: return {};
    case TxowMode::owRename: break;
    default: throw EPixmarlError(msg::kInvalidOverwriteMode);
  }
  for (uint64_t n = 1;; ++n) {
    std::u16string candidate = NumberedName(name, extension, settings_.FOverwriteChr, n);
    if (!IsExistingFile(candidate)) return candidate;
  }
}

// Only owAlways replaces a file. The other modes commit with a rename that
// refuses to replace, so a file that another writer made under the chosen
// name since it was chosen is never lost: owRename then takes the next free
// number, owNever writes nothing.
std::u16string TImageFunctions::CommitWrite(TStagedFile& staged, const std::u16string& target,
                                            const std::u16string& name, const std::u16string& extension) const {
  if (settings_.FOWModeType == TxowMode::owAlways) {
    staged.CommitReplacing(target);
    return target;
  }
  if (staged.CommitIfAbsent(target)) return target;
  switch (settings_.FOWModeType) {
    case TxowMode::owNever: return {};
    case TxowMode::owRename: break;
    default: throw EPixmarlError(msg::kInvalidOverwriteMode);
  }
  for (uint64_t n = 1;; ++n) {
    std::u16string candidate = NumberedName(name, extension, settings_.FOverwriteChr, n);
    if (staged.CommitIfAbsent(candidate)) return candidate;
  }
}

void TImageFunctions::WriteFile(const std::u16string& Filename) {
  if (state_.Image().Empty()) throw EInvalidGraphic(msg::kNoImageInComponent);
  if (Filename.size() <= 5) return;
  const std::u16string extension = ExtractFileExt(Filename);
  const std::u16string lower_extension = LowerCaseAscii(extension);

  const std::u16string previous_name = settings_.FFileName;
  const std::u16string target = WriteTarget(Filename, extension);
  if (target.empty()) return;
  settings_.FFileName = target;

  if (lower_extension != u".png") FlattenAlpha();
  const TImageCodec* codec = Codec(WriteFormatFor(lower_extension));
  if (codec == nullptr || codec->encode == nullptr) throw EPixmarlError(msg::kWriterNotAvailable + lower_extension);
  TStagedFile staged(target);
  if (codec->write != nullptr) {
    codec->write(state_.Image(), EncodeOptions(), staged.Contents());
  } else {
    staged.Contents().WriteBytes(codec->encode(state_.Image(), EncodeOptions()));
  }
  const std::u16string written = CommitWrite(staged, target, Filename, extension);
  settings_.FFileName = written.empty() ? previous_name : written;
}

}  // namespace pk
