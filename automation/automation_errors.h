// The automation object's own exception classes. EPixmarlError carries the
// failures of the load and write roads; EInvalidFormat (empty input, a type
// name that no writer takes) and EIndexError (a frame or image number out of
// range) are shared with the multi-format loader. Image errors use the
// platform's EInvalidGraphic.
#pragma once

#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(EPixmarlError, Exception);
PK_DECLARE_EXCEPTION(EInvalidFormat, Exception);
PK_DECLARE_EXCEPTION(EIndexError, Exception);

}  // namespace pk
