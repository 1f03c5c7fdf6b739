// Resolution between dots per inch and pixels per metre, as the automation
// interface and its codecs exchange it: rounded half to even, and never
// failing: a value whose conversion leaves the 32-bit range is clamped to it.
// Arguments are 64-bit so that a file's unsigned 32-bit field converts as the
// number it holds.
#pragma once

#include <cstdint>

namespace pk {

int32_t DpiToDpm(int64_t dpi);
int32_t DpmToDpi(int64_t dpm);

}  // namespace pk
