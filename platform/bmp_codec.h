// The platform's BMP reader and writer, behind TBitmap::LoadFromStream and
// SaveToStream.
#pragma once

namespace pk {

class TBitmap;
class TStream;

// Reads BMP data from the stream's position into bitmap. Raises EInvalidGraphic
// for malformed data and EOutOfResources above the pixel limit.
void ReadBmp(TStream& stream, TBitmap& bitmap);
// Writes bitmap at the stream's position: a 40-byte header, the colour table
// and bottom-up rows.
void WriteBmp(TStream& stream, const TBitmap& bitmap);

}  // namespace pk
