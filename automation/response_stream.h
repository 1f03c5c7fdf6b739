// Streaming encoded bytes into the body of the hosting page's Response: the
// Content-Length header, then writes of at most 102400 bytes, each followed by
// a Flush while the Response buffers, until everything is sent or the client
// has gone. The Response is fetched afresh before every call on it, so a
// page that swaps its intrinsic objects is always the one written to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/asp_response.h"

namespace pk {

using TResponseSource = std::function<std::unique_ptr<IAspResponse>()>;

inline constexpr size_t kResponseChunkSize = 102400;

// A disconnected client ends the loop quietly; a failing Response call
// raises its error. Zero bytes send "Content-Length: 0" and no write.
void StreamToResponse(std::span<const uint8_t> bytes, const TResponseSource& response);

}  // namespace pk
