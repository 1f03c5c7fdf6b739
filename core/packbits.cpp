#include "core/packbits.h"

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

#include "core/messages.h"
#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {
namespace {

constexpr size_t kMaxPacket = 128;

class PackBitsDecoder {
 public:
  PackBitsDecoder(TStream& dest, TStream& source, uint32_t packed_size, uint32_t unpacked_size)
      : dest_(dest), source_(source), source_start_(source.Position()), dest_start_(dest.Position()),
        packed_size_(packed_size), unpacked_size_(unpacked_size) {}

  void Run() {
    do {
      DecodePacket();
    } while (source_.Position() - source_start_ < packed_size_ && Written() < unpacked_size_);
  }

 private:
  int64_t Written() { return dest_.Position() - dest_start_; }

  void DecodePacket() {
    const uint8_t n = source_.ReadByte();
    if (n > 128) {
      const uint8_t value = source_.ReadByte();
      packet_.assign(257 - n, value);
      Emit(packet_.size());
    } else if (n < 128) {
      packet_.resize(n + 1u);
      const int64_t got = source_.Read(packet_.data(), static_cast<int64_t>(packet_.size()));
      Emit(static_cast<size_t>(got));
      if (got != static_cast<int64_t>(packet_.size())) throw EReadError(msg::kStreamReadError);
    }
  }

  // Writes the first count bytes of the packet, as far as the unpacked size allows.
  void Emit(size_t count) {
    const int64_t room = std::max<int64_t>(0, int64_t{unpacked_size_} - Written());
    dest_.WriteBuffer(packet_.data(), std::min(static_cast<int64_t>(count), room));
  }

  TStream& dest_;
  TStream& source_;
  const int64_t source_start_;
  const int64_t dest_start_;
  const int64_t packed_size_;
  const int64_t unpacked_size_;
  std::vector<uint8_t> packet_;
};

// The bytes equal to bytes[start] from start on, at most one packet's worth.
size_t RunLength(std::span<const uint8_t> bytes, size_t start) {
  size_t r = 1;
  while (start + r < bytes.size() && r < kMaxPacket && bytes[start + r] == bytes[start]) ++r;
  return r;
}

// A literal from start runs until a pair of equal bytes begins, the buffer
// ends or the packet is full.
size_t LiteralLength(std::span<const uint8_t> bytes, size_t start) {
  size_t length = 1;
  for (size_t j = start + 1; j < bytes.size() && length < kMaxPacket; ++j, ++length) {
    if (j + 1 < bytes.size() && bytes[j] == bytes[j + 1]) break;
  }
  return length;
}

}  // namespace

void UnPackBits(TStream& dest, TStream& source, uint32_t packed_size, uint32_t unpacked_size) {
  try {
    PackBitsDecoder(dest, source, packed_size, unpacked_size).Run();
  } catch (const std::bad_alloc&) {
    throw;  // running out of memory is not a sign of corrupt data
  } catch (const std::exception&) {
    throw Exception(msg::kUnPackBitsError);
  }
}

void PackBitsEncode(TStream& stream, std::span<const uint8_t> bytes) {
  std::vector<uint8_t> out;
  out.reserve(bytes.size() + bytes.size() / kMaxPacket + 1);
  for (size_t a = 0; a < bytes.size();) {
    const size_t run = RunLength(bytes, a);
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(257 - run));
      out.push_back(bytes[a]);
      a += run;
    } else {
      const size_t length = LiteralLength(bytes, a);
      out.push_back(static_cast<uint8_t>(length - 1));
      out.insert(out.end(), bytes.begin() + a, bytes.begin() + a + length);
      a += length;
    }
  }
  stream.WriteBytes(out);
}

}  // namespace pk
