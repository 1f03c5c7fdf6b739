// Windows only: the Response adapter over a Response object the caller
// already holds (the COM+ context's, or one a test hands the object), driven
// late-bound by name through IDispatch. Each failing call raises
// EOleSysError with the call's code and description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "platform/asp_response.h"

namespace pk {

// The adapter keeps its own reference to response.
std::unique_ptr<IAspResponse> AspResponseOf(IDispatch* response);

}  // namespace pk
