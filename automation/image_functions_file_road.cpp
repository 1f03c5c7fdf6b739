// The file road of the automation object: ReadFile and the load steps it
// shares with the other input members, and WriteFile with its overwrite modes.
//
// Loading forgets everything the previous image left behind (its alpha record
// and per-index transparency) before the new data is decoded, so no setting
// of one image leaks into the output of the next. Writing encodes the whole
// file in memory first and then commits it in one step, so a failing encoder
// or a full disk never destroys the file that was there; only owAlways ever
// replaces a file, so writers racing for one name lose nothing.
#include <string>

#include "automation/automation_errors.h"
#include "automation/file_names.h"
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
  TMemoryStream data;
  data.LoadFromFile(name);
  LoadFromMemoryStream(data, LowerCaseAscii(ExtractFileExt(name)), !FIgnoreInputFileType);
}

void TImageFunctions::ReadVariant(std::span<const uint8_t> ImgData) {
  TMemoryStream data(std::vector<uint8_t>(ImgData.begin(), ImgData.end()));
  LoadFromMemoryStream(data, u"", false);
}

void TImageFunctions::LoadFromMemoryStream(TMemoryStream& stream, const std::u16string& extension,
                                           bool check_extension) {
  if (stream.Size() == 0) throw EInvalidFormat(msg::kEmptyInput);
  bmpMemory = std::make_unique<TBitmap>();
  FWasCMYK = false;
  FFileSize = ClampToInt32(stream.Size());
  FAlpha->Reset();
  FTransparentPalette = false;
  FTransparentArray.fill(255);

  const std::u16string type_text = StripLeadingDot(TrimText(extension));
  stream.SetPosition(0);
  FOriginalImageType = DetectImageType(stream.ReadByte());
  stream.SetPosition(0);

  const TImageCodec* codec = CodecForFormat(codecs_, FOriginalImageType);
  if (check_extension && (codec == nullptr || !AcceptsExtension(*codec, type_text))) {
    throw EPixmarlError(msg::kInvalidFileType);
  }
  if (codec == nullptr || codec->read == nullptr) throw EPixmarlError(msg::kInvalidFileType);
  codec->read(*this, stream);
  UpdateColourDepth();
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
  switch (FOWModeType) {
    case TxowMode::owAlways: return name;
    case TxowMode::owNever: return {};
    case TxowMode::owRename: break;
    default: throw EPixmarlError(msg::kInvalidOverwriteMode);
  }
  for (uint64_t n = 1;; ++n) {
    std::u16string candidate = NumberedName(name, extension, FOverwriteChr, n);
    if (!IsExistingFile(candidate)) return candidate;
  }
}

// Only owAlways replaces a file. The other modes commit with a rename that
// refuses to replace, so a file that another writer made under the chosen
// name since it was chosen is never lost: owRename then takes the next free
// number, owNever writes nothing.
std::u16string TImageFunctions::CommitWrite(const std::u16string& target, const std::u16string& name,
                                            const std::u16string& extension, std::span<const uint8_t> bytes) const {
  TStagedFile staged(target, bytes);
  if (FOWModeType == TxowMode::owAlways) {
    staged.CommitReplacing(target);
    return target;
  }
  if (staged.CommitIfAbsent(target)) return target;
  switch (FOWModeType) {
    case TxowMode::owNever: return {};
    case TxowMode::owRename: break;
    default: throw EPixmarlError(msg::kInvalidOverwriteMode);
  }
  for (uint64_t n = 1;; ++n) {
    std::u16string candidate = NumberedName(name, extension, FOverwriteChr, n);
    if (staged.CommitIfAbsent(candidate)) return candidate;
  }
}

void TImageFunctions::WriteFile(const std::u16string& Filename) {
  if (bmpMemory->Empty()) throw EInvalidGraphic(msg::kNoImageInComponent);
  if (Filename.size() <= 5) return;
  const std::u16string extension = ExtractFileExt(Filename);
  const std::u16string lower_extension = LowerCaseAscii(extension);

  const std::u16string previous_name = FFileName;
  const std::u16string target = WriteTarget(Filename, extension);
  if (target.empty()) return;
  FFileName = target;

  if (lower_extension != u".png") FlattenAlpha();
  const TImageCodec* codec = CodecForWriteExtension(codecs_, lower_extension);
  if (codec == nullptr || codec->write == nullptr) throw EPixmarlError(msg::kWriterNotAvailable + lower_extension);
  TMemoryStream encoded;
  codec->write(*this, encoded);
  const std::u16string written = CommitWrite(target, Filename, extension, encoded.Bytes());
  FFileName = written.empty() ? previous_name : written;
}

}  // namespace pk
