// The table of fuzz targets. A new parser gets its entry here, a file under
// targets/, seeds in make_seeds.py and, for a binary format, a dictionary.
#include "fuzz/fuzz_target.h"

namespace pk::fuzz {

void FuzzBase64(std::span<const uint8_t> data);
void FuzzBmpDecode(std::span<const uint8_t> data);
void FuzzBmpProbe(std::span<const uint8_t> data);
void FuzzColourText(std::span<const uint8_t> data);
void FuzzExifValue(std::span<const uint8_t> data);
void FuzzFileInfo(std::span<const uint8_t> data);
void FuzzGraphicsFormat(std::span<const uint8_t> data);
void FuzzHttpDate(std::span<const uint8_t> data);
void FuzzImageCodecs(std::span<const uint8_t> data);
void FuzzJpegDecode(std::span<const uint8_t> data);
void FuzzJpegMarkers(std::span<const uint8_t> data);
void FuzzObjectLoad(std::span<const uint8_t> data);
void FuzzPackBits(std::span<const uint8_t> data);
void FuzzPhotoshopResources(std::span<const uint8_t> data);
void FuzzRmeta(std::span<const uint8_t> data);
void FuzzStreamText(std::span<const uint8_t> data);

namespace {

constexpr TFuzzTarget kTargets[] = {
    {"base64", FuzzBase64},
    {"bmp_decode", FuzzBmpDecode},
    {"bmp_probe", FuzzBmpProbe},
    {"colour_text", FuzzColourText},
    {"exif_value", FuzzExifValue},
    {"file_info", FuzzFileInfo},
    {"graphics_format", FuzzGraphicsFormat},
    {"http_date", FuzzHttpDate},
    {"image_codecs", FuzzImageCodecs},
    {"jpeg_decode", FuzzJpegDecode},
    {"jpeg_markers", FuzzJpegMarkers},
    {"object_load", FuzzObjectLoad},
    {"packbits", FuzzPackBits},
    {"photoshop_resources", FuzzPhotoshopResources},
    {"rmeta", FuzzRmeta},
    {"stream_text", FuzzStreamText},
};

}  // namespace

std::span<const TFuzzTarget> FuzzTargets() { return kTargets; }

}  // namespace pk::fuzz
