// PackBits: the first four bytes give the unpacked size (bounded, so a run
// stays fast), the rest is packed data. The decoder never writes past the
// unpacked size nor reads past the packed size's last packet; the encoder's
// output of the same bytes decodes back to them.
#include <vector>

#include "core/packbits.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {
namespace {

constexpr uint32_t kMaxUnpacked = 1 << 16;
constexpr int64_t kMaxPacket = 129;  // header byte and 128 literals

void CheckDecoding(std::span<const uint8_t> packed, uint32_t unpacked_size) {
  TMemoryStream source(std::vector<uint8_t>(packed.begin(), packed.end()));
  TMemoryStream dest;
  const auto packed_size = static_cast<uint32_t>(packed.size());
  try {
    UnPackBits(dest, source, packed_size, unpacked_size);
  } catch (const Exception& e) {
    FuzzRequire(e.Message() == u"Error in UnPackBits procedure", "UnPackBits fails only with its own error");
  }
  FuzzRequire(dest.Size() <= int64_t{unpacked_size}, "UnPackBits never writes past its unpacked size");
  FuzzRequire(source.Position() < int64_t{packed_size} + kMaxPacket,
              "UnPackBits reads no further than the packet the packed size ends in");
}

void CheckRoundTrip(std::span<const uint8_t> bytes) {
  TMemoryStream packed;
  PackBitsEncode(packed, bytes);
  // A literal costs one header byte and ends before a pair of equal bytes,
  // which packs into two: one byte more per three at worst.
  FuzzRequire(packed.Size() <= static_cast<int64_t>(bytes.size() + bytes.size() / 3 + 1),
              "PackBits adds at most one byte per three");
  packed.SetPosition(0);
  TMemoryStream unpacked;
  UnPackBits(unpacked, packed, static_cast<uint32_t>(packed.Size()), static_cast<uint32_t>(bytes.size()));
  FuzzRequire(std::ranges::equal(unpacked.Bytes(), bytes), "packed bytes unpack to themselves");
}

}  // namespace

void FuzzPackBits(std::span<const uint8_t> data) {
  const uint32_t unpacked_size = TakeU32(data) % (kMaxUnpacked + 1);
  CheckDecoding(data, unpacked_size);
  if (!data.empty()) CheckRoundTrip(data);
}

}  // namespace pk::fuzz
