#include "platform/bmp_codec.h"

#include "platform/exceptions.h"

namespace pk {

void ReadBmp(TStream&, TBitmap&) { throw ENotImplemented(u"BMP reading not available yet"); }
void WriteBmp(TStream&, const TBitmap&) { throw ENotImplemented(u"BMP writing not available yet"); }

}  // namespace pk
