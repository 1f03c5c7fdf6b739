// EXIF value text: the first byte picks a tag of the table, the rest is the
// value text. A value the tag takes is stored in its one normal form, which
// normalises to itself; the number readers fail only with EConvertError.
#include <cmath>

#include "fuzz/fuzz_target.h"
#include "jpeg/exif.h"
#include "jpeg/exif_number_text.h"
#include "jpeg/exif_value_text.h"
#include "platform/exceptions.h"

namespace pk::fuzz {
namespace {

void CheckNumberReaders(std::u16string_view text) {
  ParseInteger(text);
  try {
    RationalTextToFloat(text);
  } catch (const EConvertError&) {
  }
  const std::optional<double> real = ParseReal(text);
  if (!real) return;
  try {
    const std::u16string fraction = FloatToRationalText(*real);
    FuzzRequire(std::isfinite(RationalTextToFloat(fraction)), "a fraction written for a real reads as a number");
  } catch (const EConvertError&) {
  }
}

}  // namespace

void FuzzExifValue(std::span<const uint8_t> data) {
  const TExifLookupRecord& row = ExifTagTable()[TakeU8(data) % kExifTagCount];
  const std::u16string value = Utf16Units(data);
  CheckNumberReaders(value);

  const std::optional<std::u16string> normal = NormaliseExifValue(row, value);
  // A fixed-size ASCII tag too small for the value's first character keeps
  // only its padding, which is no value to read again.
  if (normal && !SplitExifItems(*normal).empty())
    FuzzRequire(NormaliseExifValue(row, *normal) == normal, "a normal EXIF value normalises to itself");

  TExif exif;
  const bool stored = exif.SetValue(row.TagName, value);
  FuzzRequire(stored == normal.has_value(), "SetValue takes exactly the values that fit the tag");
  // The two version tags are set by SetValue itself after every change.
  if (stored && row.TagName != u"ExifVersion" && row.TagName != u"GPSVersionID") {
    FuzzRequire(exif.ExifData().GetValues(row.TagName) == *normal, "SetValue stores the normal form");
  }
}

}  // namespace pk::fuzz
