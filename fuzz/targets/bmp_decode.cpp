// The BMP reader (TBMPImage over the platform decoder): a decoded picture is
// written back and read again and must come back the same, and the header
// probe must report the size the decoder builds.
#include <vector>

#include "core/bmp_image.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/same_picture.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {

// Pictures above this many pixels are legal, but decoding, writing and reading
// one again costs seconds under the sanitizers while teaching the fuzzer
// nothing about the format's structure: such inputs only go through the probe.
constexpr uint64_t kLargestPictureDecoded = uint64_t{1} << 22;

void FuzzBmpDecode(std::span<const uint8_t> data) {
  TMemoryStream input(std::vector<uint8_t>(data.begin(), data.end()));
  TBMPImage probe;
  bool probed = true;
  try {
    probe.GetDimensionsFromStream(input);
  } catch (const Exception&) {  // any documented error: the decoder must refuse the data too
    probed = false;
  }
  if (uint64_t{probe.ReadWidth()} * probe.ReadHeight() > kLargestPictureDecoded) return;
  input.SetPosition(0);
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
  FuzzRequire(SamePicture(image, again), "a decoded BMP written and read again is the same picture");
  FuzzRequire(again.XPelsPerMeter() == image.XPelsPerMeter() && again.YPelsPerMeter() == image.YPelsPerMeter(),
              "a decoded BMP written and read again keeps its resolution");

  FuzzRequire(probed && probe.ReadWidth() == static_cast<uint32_t>(image.Width()) &&
                  probe.ReadHeight() == static_cast<uint32_t>(image.Height()),
              "the BMP probe reports the size the decoder builds");
}

}  // namespace pk::fuzz
