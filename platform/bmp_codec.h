// The platform's BMP reader and writer, behind TBitmap::LoadFromStream and
// SaveToStream.
#pragma once

#include "platform/decode_limits.h"

namespace pk {

class TBitmap;
class TStream;

// Reads BMP data from the stream's position into bitmap. Raises EInvalidGraphic
// for malformed data and EOutOfResources for a picture above the limits,
// before its rows are allocated.
void ReadBmp(TStream& stream, TBitmap& bitmap, const TDecodeLimits& limits = {});
// Writes bitmap at the stream's position: a 40-byte header, the colour table
// and bottom-up rows.
void WriteBmp(TStream& stream, const TBitmap& bitmap);

}  // namespace pk
