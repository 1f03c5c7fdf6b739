// The File Info file: malformed data raises EJPEG "Invalid File Info.", and
// a record that loads is saved, loaded and saved again to the same bytes.
#include <vector>

#include "fuzz/fuzz_target.h"
#include "jpeg/file_info.h"
#include "jpeg/jpeg_error.h"
#include "platform/stream.h"

namespace pk::fuzz {
namespace {

std::vector<uint8_t> Saved(const TFileInfo& info) {
  TMemoryStream out;
  info.SaveToStream(out);
  return out.Release();
}

}  // namespace

void FuzzFileInfo(std::span<const uint8_t> data) {
  TMemoryStream input(std::vector<uint8_t>(data.begin(), data.end()));
  TFileInfo info;
  try {
    info.LoadFromStream(input);
  } catch (const EJPEG&) {
    return;
  }
  const std::vector<uint8_t> saved = Saved(info);
  TMemoryStream saved_data(saved);
  TFileInfo again;
  again.LoadFromStream(saved_data);
  FuzzRequire(Saved(again) == saved, "a File Info file saved and loaded again is the same");
}

}  // namespace pk::fuzz
