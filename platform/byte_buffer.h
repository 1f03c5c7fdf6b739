// TByteBuffer: a byte vector whose growth leaves the new bytes uninitialised.
//
// A decoded picture or a file read into memory is written over in full right
// after its buffer is made; zero-filling it first would touch every page of a
// 36 MB photograph once more for nothing. Sizing it (the constructor taking a
// count, resize) therefore leaves the bytes as the allocator gave them, and
// only a buffer whose every byte is written before it is read may be made so.
// A value given explicitly (TByteBuffer(n, 0), assign) still fills. Buffers
// of picture size come from large blocks (platform/large_blocks.h).
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/large_blocks.h"

namespace pk {

template <class T>
class TUninitialisedAllocator : public std::allocator<T> {
 public:
  template <class U>
  struct rebind {
    using other = TUninitialisedAllocator<U>;
  };

  TUninitialisedAllocator() noexcept = default;
  template <class U>
  TUninitialisedAllocator(const TUninitialisedAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n < kLargeBlockBytes / sizeof(T)) return std::allocator<T>::allocate(n);
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateLargeBlock(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n < kLargeBlockBytes / sizeof(T)) return std::allocator<T>::deallocate(p, n);
    FreeLargeBlock(p, n * sizeof(T));
  }

  // Construction without a value: default-initialisation, which for bytes
  // writes nothing.
  template <class U>
  void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

using TByteBuffer = std::vector<uint8_t, TUninitialisedAllocator<uint8_t>>;

}  // namespace pk
