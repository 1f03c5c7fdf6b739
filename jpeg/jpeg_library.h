// The libjpeg binding: RAII owners of the compress and decompress objects, a
// memory source over bytes the caller holds, a destination that grows a
// vector, and the error manager.
//
// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours longjmps back into Guarded, whose frame and the body's hold no objects
// with destructors, and Guarded then throws: EJPEG "JPEG error #<code>", or
// std::bad_alloc when the library ran out of memory. No C++ exception ever
// crosses libjpeg's C frames: our callbacks catch their own failures and turn
// them into library errors. Warnings and trace messages are dropped, so a
// corrupt-data warning never stops a decode, and a source that runs out of
// bytes feeds an end-of-image marker, so a truncated file decodes what it has.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace pk::jpeg_library {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

// Raised after the jump: EJPEG with the code, or std::bad_alloc.
[[noreturn]] void ThrowLibraryError(int code);

// Runs body with errors of the library turned into exceptions. body must not
// create objects with destructors: an error leaves its frame by longjmp.
template <typename Body>
void Guarded(ErrorManager& errors, Body&& body) {
  if (setjmp(errors.jump) != 0) ThrowLibraryError(errors.pub.msg_code);
  body();
}

class Decompressor {
 public:
  // Reads from bytes, which must outlive the object.
  explicit Decompressor(std::span<const uint8_t> bytes);
  ~Decompressor();
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  jpeg_decompress_struct& Info() { return info_; }
  template <typename Body>
  void Call(Body&& body) { Guarded(errors_, body); }

 private:
  ErrorManager errors_;
  jpeg_decompress_struct info_;
  jpeg_source_mgr source_;
};

class Compressor {
 public:
  Compressor();
  ~Compressor();
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  jpeg_compress_struct& Info() { return info_; }
  template <typename Body>
  void Call(Body&& body) { Guarded(errors_, body); }
  // The bytes written so far (all of them after jpeg_finish_compress).
  std::vector<uint8_t> TakeOutput();

  struct Destination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t> bytes;
  };

 private:
  ErrorManager errors_;
  jpeg_compress_struct info_;
  Destination destination_;
};

}  // namespace pk::jpeg_library
