#include "automation/image_codecs.h"

#include <algorithm>

#include "automation/bmp_file_codec.h"

namespace pk {

namespace {

constexpr TImageCodec kCodecs[] = {
    {TGraphicsFormat::gfBMP, {u"bmp"}, {u".bmp"}, false, ReadBmpFile, WriteBmpFile},
    {TGraphicsFormat::gfGIF, {u"gif"}, {u".gif"}, false, nullptr, nullptr},
    {TGraphicsFormat::gfJPG, {u"jpg", u"jpeg", u"jpe"}, {}, true, nullptr, nullptr},
    {TGraphicsFormat::gfPNG, {u"png"}, {u".png"}, false, nullptr, nullptr},
    {TGraphicsFormat::gfTIF, {u"tiff", u"tif"}, {u".tif", u".tiff"}, false, nullptr, nullptr},
};

template <size_t N>
bool Contains(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  return !name.empty() && std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::span<const TImageCodec> ImageCodecTable() { return kCodecs; }

const TImageCodec* CodecForFormat(std::span<const TImageCodec> table, TGraphicsFormat format) {
  for (const TImageCodec& codec : table) {
    if (codec.format == format) return &codec;
  }
  return nullptr;
}

bool AcceptsExtension(const TImageCodec& codec, std::u16string_view extension) {
  return Contains(codec.check_extensions, extension);
}

const TImageCodec* CodecForWriteExtension(std::span<const TImageCodec> table, std::u16string_view extension) {
  const TImageCodec* fallback = nullptr;
  for (const TImageCodec& codec : table) {
    if (Contains(codec.write_extensions, extension)) return &codec;
    if (codec.writes_other_extensions) fallback = &codec;
  }
  return fallback;
}

}  // namespace pk
