#include "jpeg/icc_profile.h"

namespace pk {

void TICCProfile::Assign(const TICCProfile& source) {
  if (&source != this) source.CopyTo(FICCStream);
}

void TICCProfile::CopyFrom(TStream& stream) {
  FICCStream.Clear();
  FICCStream.CopyFrom(stream, 0);
}

void TICCProfile::CopyTo(TMemoryStream& stream) const {
  stream.Clear();
  stream.WriteBytes(FICCStream.Bytes());
}

}  // namespace pk
