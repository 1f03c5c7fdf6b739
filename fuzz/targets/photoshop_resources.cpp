// Photoshop resource sequences as an APP13 segment carries them (first byte
// even) or bare, as PSD and TIFF store them (odd), and the IPTC record read
// from them. A resource running past the end raises EReadError; nothing kept
// holds more text than the data had, and what is written back reads back to
// the same bytes, for the resources and for the IPTC record alike.
#include <vector>

#include "fuzz/fuzz_target.h"
#include "jpeg/file_info.h"
#include "jpeg/photoshop_resources.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {
namespace {

size_t KeptText(const TApp14Segment& app13) {
  size_t text = app13.IDString().size();
  for (int32_t i = 0; i < app13.BIMCount(); ++i) {
    const TBIMSegment& resource = app13.GetBIMSegment(i);
    text += resource.IDString().size() + resource.SegmentText().size();
    for (int32_t j = 0; j < resource.SegmentCount(); ++j) text += resource.GetItem(j).Text.size();
  }
  return text;
}

std::vector<uint8_t> Resources(const TApp14Segment& app13) {
  TMemoryStream out;
  app13.GetOutputPSD(out);
  return out.Release();
}

std::vector<uint8_t> ReadAgain(const std::vector<uint8_t>& resources) {
  TMemoryStream data(resources);
  TApp14Segment again;
  again.ReadSegmentPSD(data);
  return Resources(again);
}

}  // namespace

void FuzzPhotoshopResources(std::span<const uint8_t> data) {
  const bool bare = TakeU8(data) & 1;
  TMemoryStream input(std::vector<uint8_t>(data.begin(), data.end()));
  TApp14Segment app13;
  try {
    if (bare) app13.ReadSegmentPSD(input);
    else app13.ReadSegment(input);
  } catch (const EReadError&) {
  }
  FuzzRequire(KeptText(app13) <= data.size(), "resources never hold more text than the data carried");

  const std::vector<uint8_t> written = Resources(app13);
  FuzzRequire(ReadAgain(written) == written, "resources written and read again are the same");

  TFileInfo info;
  info.ReadFromAPP14(app13);
  const std::vector<uint8_t> record = Resources(info.WriteToApp14());
  TFileInfo again;
  TMemoryStream record_data(record);
  TApp14Segment record_app13;
  record_app13.ReadSegmentPSD(record_data);
  again.ReadFromAPP14(record_app13);
  FuzzRequire(Resources(again.WriteToApp14()) == record, "an IPTC record written and read again is the same");
}

}  // namespace pk::fuzz
