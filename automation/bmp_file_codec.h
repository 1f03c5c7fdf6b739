// The BMP entry of the file road: TBMPImage reads and writes the data, and the
// object's resolution travels as the file's pixels-per-metre fields.
#pragma once

namespace pk {

struct TImageState;
class TMemoryStream;
class TStream;

void ReadBmpFile(TImageState& state, TMemoryStream& data);
void WriteBmpFile(TImageState& state, TStream& out);

}  // namespace pk
