// EJPEG: the error of the JPEG codec and of the metadata files it reads beside
// the image (the File Info file, XMP files). A JPEG that libjpeg refused is
// raised as "JPEG error #<code>" with the library's message code, so that
// callers and tests can tell the faults apart.
#pragma once

#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

}  // namespace pk
