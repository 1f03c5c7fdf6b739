// The error of the JPEG codec and of the metadata files it reads beside the
// image (the File Info file, XMP files).
#pragma once

#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

}  // namespace pk
