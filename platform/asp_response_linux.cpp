// Natively there is no ASP page around the component, so asking for the
// Response fails as a call from outside a page does in the DLL.
#include "platform/asp_response.h"

#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {

std::unique_ptr<IAspResponse> CurrentAspResponse() { throw Exception(msg::kNoAspPageContext); }

}  // namespace pk
