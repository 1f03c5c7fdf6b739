#include "formats/image_codecs.h"

#include "formats/bmp/bmp_codec.h"
#include "formats/jpeg/jpeg_format.h"

namespace pk {

namespace {

constexpr TImageCodec kCodecs[] = {
    {TGraphicsFormat::gfBMP, u"BMP", DecodeBmp, EncodeBmp, ProbeBmp, ReadBmpImage, WriteBmpImage},
    {TGraphicsFormat::gfGIF, u"GIF", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfJPG, u"JPEG", DecodeJpegImage, EncodeJpegImage, ProbeJpegImage},
    {TGraphicsFormat::gfPCX, u"PCX", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfPNG, u"PNG", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfWBMP, u"WBMP", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfPSD, u"PSD", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfTIF, u"TIFF", nullptr, nullptr, nullptr},
    {TGraphicsFormat::gfPDF, u"PDF", nullptr, nullptr, nullptr},
};

}  // namespace

std::span<const TImageCodec> ImageCodecs() { return kCodecs; }

}  // namespace pk
