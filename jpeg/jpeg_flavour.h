// TbwJpeg: the JPEG class of the component being built. The x86 component
// has its own class; the x86-64 component and the native library use the
// x86-64 one. The build defines PIXMARL_JPEG_X86 for the x86 component.
#pragma once

#if defined(PIXMARL_JPEG_X86)
#include "jpeg/jpeg_x86.h"
namespace pk {
using TbwJpeg = TbwJpegX86;
}
#else
#include "jpeg/jpeg_x64.h"
namespace pk {
using TbwJpeg = TbwJpegX64;
}
#endif
