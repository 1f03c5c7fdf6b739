// The EXIF tag table as data, one row a line in the table's own order (the
// writer sorts by code, not by row). Row 30 is a placeholder without a name
// that no value line can match.
#include "jpeg/exif_tag_table.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace pk {
namespace {

using enum TIFDDataType;
using enum TTagType;

constexpr TExifLookup kExifTags = {{
    {u"ImageDescription", 0x010E, ifdASCII, ttTIFF, 0},
    {u"Make", 0x010F, ifdASCII, ttTIFF, 0},
    {u"Model", 0x0110, ifdASCII, ttTIFF, 0},
    {u"Orientation", 0x0112, ifdShort, ttTIFF, 1},
    {u"XResolution", 0x011A, ifdRational, ttTIFF, 1},
    {u"YResolution", 0x011B, ifdRational, ttTIFF, 1},
    {u"ResolutionUnit", 0x0128, ifdShort, ttTIFF, 1},
    {u"Software", 0x0131, ifdASCII, ttTIFF, 0},
    {u"DateTime", 0x0132, ifdASCII, ttTIFF, 20},
    {u"WhitePoint", 0x013E, ifdRational, ttTIFF, 2},
    {u"PrimaryChromaticities", 0x013F, ifdRational, ttTIFF, 6},
    {u"YCbCrCoefficients", 0x0211, ifdRational, ttTIFF, 3},
    {u"YCbCrPositioning", 0x0213, ifdShort, ttTIFF, 1},
    {u"ReferenceBlackWhite", 0x0214, ifdRational, ttTIFF, 6},
    {u"Copyright", 0x8298, ifdASCII, ttTIFF, 0},
    {u"ExposureTime", 0x829A, ifdRational, ttExif, 1},
    {u"FNumber", 0x829D, ifdRational, ttExif, 1},
    {u"ExposureProgram", 0x8822, ifdShort, ttExif, 1},
    {u"ISOSpeedRatings", 0x8827, ifdShort, ttExif, 0},
    {u"ExifVersion", 0x9000, ifdUndefined, ttExif, 4},
    {u"DateTimeOriginal", 0x9003, ifdASCII, ttExif, 20},
    {u"DateTimeDigitized", 0x9004, ifdASCII, ttExif, 20},
    {u"ComponentsConfiguration", 0x9101, ifdUndefined, ttExif, 0},
    {u"CompressedBitsPerPixel", 0x9102, ifdRational, ttExif, 1},
    {u"ShutterSpeedValue", 0x9201, ifdSRational, ttExif, 1},
    {u"ApertureValue", 0x9202, ifdRational, ttExif, 1},
    {u"FlashPixVersion", 0xA000, ifdUndefined, ttExif, 4},
    {u"ColorSpace", 0xA001, ifdShort, ttExif, 1},
    {u"PixelXDimension", 0xA002, ifdShort, ttExif, 1},
    {u"PixelYDimension", 0xA003, ifdShort, ttExif, 1},
    {u"", 0xFFFF, ifdByte, ttTIFF, 0},
    {u"UserComment", 0x9286, ifdUndefined, ttExif, 0},
    {u"RelatedSoundFile", 0xA004, ifdASCII, ttExif, 13},
    {u"SubSecTime", 0x9290, ifdASCII, ttExif, 0},
    {u"SubSecTimeOriginal", 0x9291, ifdASCII, ttExif, 0},
    {u"SubSecTimeDigitized", 0x9292, ifdASCII, ttExif, 0},
    {u"SpectralSensitivity", 0x8824, ifdASCII, ttExif, 0},
    {u"OECF", 0x8828, ifdUndefined, ttExif, 0},
    {u"BrightnessValue", 0x9203, ifdSRational, ttExif, 1},
    {u"ExposureBiasValue", 0x9204, ifdSRational, ttExif, 1},
    {u"MaxApertureValue", 0x9205, ifdRational, ttExif, 1},
    {u"SubjectDistance", 0x9206, ifdRational, ttExif, 1},
    {u"MeteringMode", 0x9207, ifdShort, ttExif, 1},
    {u"LightSource", 0x9208, ifdShort, ttExif, 1},
    {u"Flash", 0x9209, ifdShort, ttExif, 1},
    {u"FocalLength", 0x920A, ifdRational, ttExif, 1},
    {u"FlashEnergy", 0xA20B, ifdRational, ttExif, 1},
    {u"SpatialFrequencyResponse", 0xA20C, ifdUndefined, ttExif, 0},
    {u"FocalPlaneXResolution", 0xA20E, ifdRational, ttExif, 1},
    {u"FocalPlaneYResolution", 0xA20F, ifdRational, ttExif, 1},
    {u"FocalPlaneResolutionUnit", 0xA210, ifdShort, ttExif, 1},
    {u"SubjectLocation", 0xA214, ifdShort, ttExif, 2},
    {u"ExposureIndex", 0xA215, ifdRational, ttExif, 1},
    {u"SensingMethod", 0xA217, ifdShort, ttExif, 1},
    {u"FileSource", 0xA300, ifdUndefined, ttExif, 1},
    {u"SceneType", 0xA301, ifdUndefined, ttExif, 1},
    {u"CFAPattern", 0xA302, ifdUndefined, ttExif, 0},
    {u"GPSVersionID", 0x0000, ifdByte, ttGPS, 4},
    {u"GPSLatitudeRef", 0x0001, ifdASCII, ttGPS, 2},
    {u"GPSLatitude", 0x0002, ifdRational, ttGPS, 3},
    {u"GPSLongitudeRef", 0x0003, ifdASCII, ttGPS, 2},
    {u"GPSLongitude", 0x0004, ifdRational, ttGPS, 3},
    {u"GPSAltitudeRef", 0x0005, ifdByte, ttGPS, 1},
    {u"GPSAltitude", 0x0006, ifdRational, ttGPS, 1},
    {u"GPSTimeStamp", 0x0007, ifdRational, ttGPS, 3},
    {u"GPSSatellites", 0x0008, ifdASCII, ttGPS, 0},
    {u"GPSStatus", 0x0009, ifdASCII, ttGPS, 2},
    {u"GPSMeasureMode", 0x000A, ifdASCII, ttGPS, 2},
    {u"GPSDOP", 0x000B, ifdRational, ttGPS, 1},
    {u"GPSSpeedRef", 0x000C, ifdASCII, ttGPS, 2},
    {u"GPSSpeed", 0x000D, ifdRational, ttGPS, 1},
    {u"GPSTrackRef", 0x000E, ifdASCII, ttGPS, 2},
    {u"GPSTrack", 0x000F, ifdRational, ttGPS, 1},
    {u"GPSImgDirectionRef", 0x0010, ifdASCII, ttGPS, 2},
    {u"GPSImgDirection", 0x0011, ifdRational, ttGPS, 1},
    {u"GPSMapDatum", 0x0012, ifdASCII, ttGPS, 0},
    {u"GPSDestLatitudeRef", 0x0013, ifdASCII, ttGPS, 2},
    {u"GPSDestLatitude", 0x0014, ifdRational, ttGPS, 3},
    {u"GPSDestLongitudeRef", 0x0015, ifdASCII, ttGPS, 2},
    {u"GPSDestLongitude", 0x0016, ifdRational, ttGPS, 3},
    {u"GPSDestBearingRef", 0x0017, ifdASCII, ttGPS, 2},
    {u"GPSDestBearing", 0x0018, ifdRational, ttGPS, 1},
    {u"GPSDestDistanceRef", 0x0019, ifdASCII, ttGPS, 2},
    {u"GPSDestDistance", 0x001A, ifdRational, ttGPS, 1},
    {u"ImageWidth", 0x0100, ifdShort, ttTIFF, 1},
    {u"ImageLength", 0x0101, ifdShort, ttTIFF, 1},
    {u"BitsPerSample", 0x0102, ifdShort, ttTIFF, 3},
    {u"Compression", 0x0103, ifdShort, ttTIFF, 1},
    {u"PhotometricInterpretation", 0x0106, ifdShort, ttTIFF, 1},
    {u"SamplesPerPixel", 0x0115, ifdShort, ttTIFF, 1},
    {u"PlanarConfiguration", 0x011C, ifdShort, ttTIFF, 1},
    {u"YCbCrSubSampling", 0x0212, ifdShort, ttTIFF, 2},
    {u"Artist", 0x013B, ifdASCII, ttTIFF, 0},
    {u"ImageUniqueID", 0xA420, ifdASCII, ttExif, 33},
    {u"SubjectArea", 0x9214, ifdShort, ttExif, 4},
    {u"CustomRendered", 0xA401, ifdShort, ttExif, 1},
    {u"ExposureMode", 0xA402, ifdShort, ttExif, 1},
    {u"WhiteBalance", 0xA403, ifdShort, ttExif, 1},
    {u"DigitalZoomRatio", 0xA404, ifdRational, ttExif, 1},
    {u"FocalLengthIn35mmFilm", 0xA405, ifdShort, ttExif, 1},
    {u"SceneCaptureType", 0xA406, ifdShort, ttExif, 1},
    {u"GainControl", 0xA407, ifdShort, ttExif, 1},  // EXIF types it SHORT
    {u"Contrast", 0xA408, ifdShort, ttExif, 1},
    {u"Saturation", 0xA409, ifdShort, ttExif, 1},
    {u"Sharpness", 0xA40A, ifdShort, ttExif, 1},
    {u"DeviceSettingDescription", 0xA40B, ifdUndefined, ttExif, 0},
    {u"SubjectDistanceRange", 0xA40C, ifdShort, ttExif, 1},
    {u"GPSProcessingMethod", 0x001B, ifdUndefined, ttGPS, 0},
    {u"GPSAreaInformation", 0x001C, ifdUndefined, ttGPS, 0},
    {u"GPSDateStamp", 0x001D, ifdASCII, ttGPS, 11},
    {u"GPSDifferential", 0x001E, ifdShort, ttGPS, 1},
    {u"XPTitle", 0x9C9B, ifdByte, ttTIFF, 1},
    {u"XPComments", 0x9C9C, ifdByte, ttTIFF, 1},
    {u"XPAuthor", 0x9C9D, ifdByte, ttTIFF, 1},
    {u"XPKeywords", 0x9C9E, ifdByte, ttTIFF, 1},
    {u"XPSubject", 0x9C9F, ifdByte, ttTIFF, 1},
    {u"JpegInterchangeFormat", 0x0201, ifdLong, ttThumbnail, 1},
    {u"JpegInterchangeFormatLength", 0x0202, ifdLong, ttThumbnail, 1},
    {u"TimeZoneOffset", 0x882A, ifdSShort, ttExif, 1},
}};

bool SameName(std::u16string_view a, std::u16string_view b, bool match_case) {
  return match_case ? a == b : SameAsciiFolded(a, b);
}

}  // namespace

const TExifLookup& ExifTagTable() { return kExifTags; }

const TExifLookupRecord* FindExifTagByName(std::u16string_view tag_name, bool match_case) {
  if (tag_name.empty()) return nullptr;
  const auto row = std::find_if(kExifTags.begin(), kExifTags.end(), [&](const TExifLookupRecord& r) {
    return SameName(r.TagName, tag_name, match_case);
  });
  return row == kExifTags.end() ? nullptr : &*row;
}

const TExifLookupRecord* FindExifTagByCode(uint16_t code) {
  const auto row = std::find_if(kExifTags.begin(), kExifTags.end(),
                                [code](const TExifLookupRecord& r) { return r.Code == code; });
  return row == kExifTags.end() ? nullptr : &*row;
}

}  // namespace pk
