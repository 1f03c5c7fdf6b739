// Large blocks natively: an anonymous mapping cut to start on a 2 MiB
// boundary and advised for transparent huge pages, so the kernel can back it
// with 2 MiB pages (where it has them to give; otherwise plain pages serve).
// The mapping ends with the block's last page, so no huge page reaches past
// the block and the memory held stays what the block needs.
//
// Under AddressSanitizer the blocks come from the ordinary allocator, which
// the sanitizer watches: an overflow past a mapped block would go unseen.
#include "platform/large_blocks.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PK_PLAIN_LARGE_BLOCKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PK_PLAIN_LARGE_BLOCKS 1
#endif

namespace pk {

#ifdef PK_PLAIN_LARGE_BLOCKS

void* AllocateLargeBlock(std::size_t bytes) { return ::operator new(bytes); }

void FreeLargeBlock(void* block, std::size_t) noexcept { ::operator delete(block); }

#else

namespace {

constexpr std::uintptr_t kHugePageBytes = std::uintptr_t{2} << 20;

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) { return (value + unit - 1) / unit * unit; }

std::size_t MappedBytes(std::size_t bytes) {
  return RoundUp(bytes, static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)));
}

}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
  const std::size_t mapped = MappedBytes(bytes);
  if (mapped < bytes || mapped > SIZE_MAX - kHugePageBytes) throw std::bad_alloc();
  // Mapped with a huge page to spare, then trimmed to the aligned block.
  const std::size_t reserved = mapped + kHugePageBytes;
  void* region = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(region);
  const std::uintptr_t block = RoundUp(start, kHugePageBytes);
  if (block > start) munmap(region, block - start);
  const std::uintptr_t end = block + mapped;
  if (start + reserved > end) munmap(reinterpret_cast<void*>(end), start + reserved - end);
  // Only advice: a kernel without huge pages maps plain ones.
  madvise(reinterpret_cast<void*>(block), mapped, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(block);
}

void FreeLargeBlock(void* block, std::size_t bytes) noexcept { munmap(block, MappedBytes(bytes)); }

#endif

}  // namespace pk
