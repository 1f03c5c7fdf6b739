// Resolution between dots per inch and pixels per metre, as the automation
// interface and its codecs exchange it: rounded half to even, and never
// failing: a value whose conversion leaves the 32-bit range is clamped to it.
// Both take the signed 32-bit long of the interface: a file's pixels-per-metre
// field is read as that long, so a stored -3780 is -96 dots per inch and an
// unchanged file writes its field back as it was.
#pragma once

#include <cstdint>

namespace pk {

int32_t DpiToDpm(int32_t dpi);
int32_t DpmToDpi(int32_t dpm);

}  // namespace pk
