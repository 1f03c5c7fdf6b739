// The load road of the automation object: bytes handed over as a byte array
// (ReadVariant), the road ReadFile and Base64In share. Every failure of the
// object is one of the component's exceptions, whose message reaches the
// client; a load that succeeds gives an image the object reports. The object
// reads through the registry's codecs with the image targets' limits.
#include <array>
#include <utility>
#include <vector>

#include "automation/image_functions.h"
#include "formats/image_codecs.h"
#include "fuzz/fuzz_limits.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"

namespace pk::fuzz {
namespace {

constexpr size_t kMostCodecs = 16;

template <size_t Index>
TDecodedImage DecodeWithFuzzLimits(std::span<const uint8_t> bytes, const TDecodeOptions& options) {
  TDecodeOptions limited = options;
  limited.limits = FuzzDecodeLimits();
  return ImageCodecs()[Index].decode(bytes, limited);
}

template <size_t... Index>
constexpr std::array<TDecodeFunction, sizeof...(Index)> LimitedDecoders(std::index_sequence<Index...>) {
  return {DecodeWithFuzzLimits<Index>...};
}

constexpr auto kLimitedDecoders = LimitedDecoders(std::make_index_sequence<kMostCodecs>());

// The registry's codecs, each decoder behind the wrapper of its index.
std::vector<TImageCodec> LimitedCodecs() {
  std::vector<TImageCodec> codecs(ImageCodecs().begin(), ImageCodecs().end());
  FuzzRequire(codecs.size() <= kLimitedDecoders.size(), "the fuzz target wraps every codec of the registry");
  for (size_t i = 0; i < codecs.size(); ++i) {
    if (codecs[i].decode) codecs[i].decode = kLimitedDecoders[i];
  }
  return codecs;
}

}  // namespace

void FuzzObjectLoad(std::span<const uint8_t> data) {
  const std::vector<TImageCodec> codecs = LimitedCodecs();
  TImageFunctions object;
  object.SetCodecs(codecs);
  try {
    object.ReadVariant(data);
  } catch (const Exception&) {
    return;
  }
  FuzzRequire(object.Width() > 0 && object.Height() > 0, "a loaded image has a size");
  FuzzRequire(object.FileSize() == static_cast<int64_t>(data.size()), "FileSize is the size of the data read");
}

}  // namespace pk::fuzz
