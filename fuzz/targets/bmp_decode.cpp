// The BMP reader (TBMPImage over the platform decoder): a decoded picture is
// written back and read again and must come back the same, and the header
// probe must report the size the decoder builds.
#include <algorithm>
#include <vector>

#include "core/bmp_image.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {
namespace {

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.GetPixelFormat() != b.GetPixelFormat()) return false;
  if (!std::ranges::equal(a.ColorTable(), b.ColorTable())) return false;
  // Only the bits of the pixels count: row padding carries nothing.
  const int64_t bits = int64_t{a.Width()} * a.BitCount();
  const size_t whole = static_cast<size_t>(bits / 8);
  const int spare = static_cast<int>(bits % 8);
  for (int y = 0; y < a.Height(); ++y) {
    const uint8_t* ra = a.ScanLine(y);
    const uint8_t* rb = b.ScanLine(y);
    if (!std::equal(ra, ra + whole, rb)) return false;
    const uint8_t mask = static_cast<uint8_t>(0xFF00 >> spare);
    if (spare && (ra[whole] & mask) != (rb[whole] & mask)) return false;
  }
  return true;
}

}  // namespace

void FuzzBmpDecode(std::span<const uint8_t> data) {
  TMemoryStream input(std::vector<uint8_t>(data.begin(), data.end()));
  TBMPImage image;
  try {
    image.LoadFromStream(input);
  } catch (const EInvalidGraphic&) {
    return;
  } catch (const EOutOfResources&) {
    return;
  }
  TMemoryStream encoded;
  image.SaveToStream(encoded);
  encoded.SetPosition(0);
  TBMPImage again;
  again.LoadFromStream(encoded);
  FuzzRequire(SamePixels(image, again), "a decoded BMP written and read again is the same picture");
  FuzzRequire(again.XPelsPerMeter() == image.XPelsPerMeter() && again.YPelsPerMeter() == image.YPelsPerMeter(),
              "a decoded BMP written and read again keeps its resolution");

  input.SetPosition(0);
  TBMPImage probe;
  probe.GetDimensionsFromStream(input);
  FuzzRequire(probe.ReadWidth() == static_cast<uint32_t>(image.Width()) &&
                  probe.ReadHeight() == static_cast<uint32_t>(image.Height()),
              "the BMP probe reports the size the decoder builds");
}

}  // namespace pk::fuzz
