// The XMP packet reader and writer of the model. Until they are built, both
// refuse plainly rather than pretend to read or write a packet.
#include "jpeg/messages.h"
#include "jpeg/xmp.h"
#include "platform/exceptions.h"

namespace pk {

void TXMP::ReadXMPStream(TStream&) { throw ENotImplemented(msg::kXMPPacketNotAvailable); }

void TXMP::WriteXMPStream(TStream&) const { throw ENotImplemented(msg::kXMPPacketNotAvailable); }

}  // namespace pk
