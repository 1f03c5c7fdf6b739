#include "automation/bmp_file_codec.h"

#include "automation/image_state.h"
#include "automation/resolution.h"
#include "core/bmp_image.h"
#include "platform/stream.h"

namespace pk {

void ReadBmpFile(TImageState& state, TMemoryStream& data) {
  TBMPImage image;
  image.LoadFromStream(data);
  state.FXDPI = DpmToDpi(image.XPelsPerMeter());
  state.FYDPI = DpmToDpi(image.YPelsPerMeter());
  state.bmpMemory->Assign(image);
}

void WriteBmpFile(TImageState& state, TStream& out) {
  TBMPImage image;
  image.Assign(*state.bmpMemory);
  // The file's fields are unsigned: a negative resolution is stored as the
  // two's complement the interface always wrote.
  image.SetXPelsPerMeter(static_cast<uint32_t>(DpiToDpm(state.FXDPI)));
  image.SetYPelsPerMeter(static_cast<uint32_t>(DpiToDpm(state.FYDPI)));
  image.SaveToStream(out);
}

}  // namespace pk
