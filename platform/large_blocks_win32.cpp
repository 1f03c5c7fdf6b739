// Large blocks in the DLL: the ordinary allocator.
#include "platform/large_blocks.h"

#include <new>

namespace pk {

void* AllocateLargeBlock(std::size_t bytes) { return ::operator new(bytes); }

void FreeLargeBlock(void* block, std::size_t) noexcept { ::operator delete(block); }

}  // namespace pk
