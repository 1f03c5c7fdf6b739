// The bytes of an image's ICC colour profile, read from JPEG APP2 chunks or a
// TIFF tag and written back unchanged. The profile is kept as a whole; nothing
// here interprets it.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace pk {

class TICCProfile {
 public:
  TMemoryStream& ICCStream() { return FICCStream; }
  const TMemoryStream& ICCStream() const { return FICCStream; }
  void SetICCStream(TMemoryStream stream) { FICCStream = std::move(stream); }

  int64_t Size() const { return FICCStream.Size(); }
  bool HasICCProfile() const { return Size() > 0; }

  void Clear() { FICCStream.Clear(); }
  void Assign(const TICCProfile& source);
  // Replaces the profile with all of stream, whatever its position.
  void CopyFrom(TStream& stream);
  // Replaces the contents of stream with the whole profile.
  void CopyTo(TMemoryStream& stream) const;

 private:
  TMemoryStream FICCStream;
};

}  // namespace pk
