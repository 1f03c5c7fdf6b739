// Every message the raster core and its helpers raise, in one place: these
// texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

}  // namespace pk::msg
