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
  FuzzRequire(SamePicture(image, again), "a decoded BMP written and read again is the same picture");
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
