// EJPEG: a JPEG that libjpeg refused, raised as "JPEG error #<code>" with the
// library's message code so that callers and tests can tell the faults apart.
#pragma once

#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

}  // namespace pk
