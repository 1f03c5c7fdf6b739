#include "automation/image_channels.h"

#include <algorithm>

#include "automation/file_names.h"
#include "core/file_utils.h"

namespace pk {

namespace {

constexpr TFormatChannels kChannels[] = {
    {TGraphicsFormat::gfBMP, {u"bmp"}, true, {u".bmp"}, false, {u"bmp"}},
    {TGraphicsFormat::gfGIF, {u"gif"}, true, {u".gif"}, false, {u"gif"}},
    {TGraphicsFormat::gfJPG, {u"jpg", u"jpeg", u"jpe"}, true, {}, true, {u"jpg", u"jpeg", u"jpe"}},
    {TGraphicsFormat::gfPCX, {u"pcx"}, false, {}, false, {}},
    {TGraphicsFormat::gfPNG, {u"png"}, true, {u".png"}, false, {u"png"}},
    {TGraphicsFormat::gfWBMP, {u"wbmp", u"wbm"}, false, {}, false, {u"wbmp"}},
    {TGraphicsFormat::gfPSD, {u"psd"}, false, {}, false, {}},
    {TGraphicsFormat::gfTIF, {u"tiff", u"tif"}, true, {u".tif", u".tiff"}, false, {u"tif", u"tiff"}},
    {TGraphicsFormat::gfPDF, {u"pdf"}, false, {}, false, {}},
};

template <size_t N>
bool Contains(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  return !name.empty() && std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::span<const TFormatChannels> FormatChannels() { return kChannels; }

const TFormatChannels* ChannelsOf(TGraphicsFormat format) {
  for (const TFormatChannels& channels : kChannels) {
    if (channels.format == format) return &channels;
  }
  return nullptr;
}

bool AcceptsExtension(const TFormatChannels& channels, std::u16string_view extension) {
  return Contains(channels.check_extensions, extension);
}

TGraphicsFormat WriteFormatFor(std::u16string_view extension) {
  TGraphicsFormat fallback = TGraphicsFormat::gfUnknown;
  for (const TFormatChannels& channels : kChannels) {
    if (Contains(channels.write_extensions, extension)) return channels.format;
    if (channels.writes_other_extensions) fallback = channels.format;
  }
  return fallback;
}

TGraphicsFormat FormatForTypeName(std::u16string_view type_name) {
  const std::u16string name = LowerCaseAscii(StripLeadingDot(type_name));
  for (const TFormatChannels& channels : kChannels) {
    if (Contains(channels.type_names, name)) return channels.format;
  }
  return TGraphicsFormat::gfUnknown;
}

TxCompressionType CompressionTypeOf(int32_t tiff_compression) {
  switch (tiff_compression) {
    case 3: return TxCompressionType::ctGroup3;
    case 4: return TxCompressionType::ctGroup4;
    case 5: return TxCompressionType::ctLZW;
    case 32773: return TxCompressionType::ctPackbits;
    default: return TxCompressionType::ctNone;
  }
}

int32_t TiffCompressionOf(TxCompressionType type) {
  switch (type) {
    case TxCompressionType::ctPackbits:
    case TxCompressionType::ctLZW: return 32773;
    case TxCompressionType::ctGroup4:
    case TxCompressionType::ctGroup3: return 4;
    default: return 1;
  }
}

}  // namespace pk
