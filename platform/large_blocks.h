// Memory for the large byte buffers: decoded pictures and files read whole.
//
// A 12-megapixel photograph needs 36 MB, above the size the C allocator keeps
// for reuse, so every picture's buffer is fresh memory that the system maps in
// page by page on first touch; with 4 KiB pages that is some nine thousand
// faults per picture, costing more than decoding it. Natively a large block is
// therefore mapped on a 2 MiB boundary and marked for huge pages, so the same
// buffer arrives in a few dozen faults. The Windows build allocates plainly.
#pragma once

#include <cstddef>

namespace pk {

// Buffers of at least this many bytes are large blocks.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{4} << 20;

// A block of bytes bytes (at least kLargeBlockBytes), uninitialised; raises
// std::bad_alloc when the memory cannot be had.
void* AllocateLargeBlock(std::size_t bytes);
// Frees a block that AllocateLargeBlock gave for the same bytes.
void FreeLargeBlock(void* block, std::size_t bytes) noexcept;

}  // namespace pk
