#include "jpeg/jpeg_library.h"

#include <new>
#include <string>

#include "jpeg/jpeg_error.h"
#include "jpeg/jpeg_messages.h"

namespace pk::jpeg_library {
namespace {

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings and traces are not errors: a decode goes on through corrupt data.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

jpeg_error_mgr* InstallErrorManager(ErrorManager& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ErrorExit;
  errors.pub.emit_message = IgnoreMessage;
  errors.pub.output_message = IgnoreOutput;
  return &errors.pub;
}

// The end-of-image marker fed when the bytes run out: the library then ends
// the image, keeping the rows decoded so far (the rest stay grey).
const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  WARNMS(info, JWRN_JPEG_EOF);
  info->src->next_input_byte = kFakeEoi;
  info->src->bytes_in_buffer = sizeof kFakeEoi;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& source = *info->src;
  if (static_cast<size_t>(count) > source.bytes_in_buffer) {
    FillInputBuffer(info);
    return;
  }
  source.next_input_byte += count;
  source.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

Compressor::Destination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<Compressor::Destination*>(info->dest);
}

// Grows the output without letting std::bad_alloc into the library's frames;
// a failure becomes the library's own out-of-memory error.
void GrowOutput(j_compress_ptr info, size_t size) {
  Compressor::Destination& destination = DestinationOf(info);
  const size_t used = destination.bytes.size() - destination.pub.free_in_buffer;
  bool grown = true;
  try {
    destination.bytes.resize(size);
  } catch (...) {
    grown = false;
  }
  if (!grown) ERREXIT(info, JERR_OUT_OF_MEMORY);
  destination.pub.next_output_byte = destination.bytes.data() + used;
  destination.pub.free_in_buffer = destination.bytes.size() - used;
}

constexpr size_t kFirstOutputSize = 64 * 1024;

void InitDestination(j_compress_ptr info) {
  DestinationOf(info).pub.free_in_buffer = 0;
  DestinationOf(info).bytes.clear();
  GrowOutput(info, kFirstOutputSize);
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  // The library calls this only when the buffer is full.
  DestinationOf(info).pub.free_in_buffer = 0;
  GrowOutput(info, DestinationOf(info).bytes.size() * 2);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  Compressor::Destination& destination = DestinationOf(info);
  destination.bytes.resize(destination.bytes.size() - destination.pub.free_in_buffer);
  destination.pub.free_in_buffer = 0;
}

}  // namespace

void ThrowLibraryError(int code) {
  if (code == JERR_OUT_OF_MEMORY) throw std::bad_alloc();
  const std::string number = std::to_string(code);
  throw EJPEG(msg::kJpegError + std::u16string(number.begin(), number.end()));
}

Decompressor::Decompressor(std::span<const uint8_t> bytes) : errors_{}, info_{}, source_{} {
  info_.err = InstallErrorManager(errors_);
  try {
    Call([&] { jpeg_create_decompress(&info_); });
  } catch (...) {
    jpeg_destroy_decompress(&info_);
    throw;
  }
  source_.init_source = InitSource;
  source_.fill_input_buffer = FillInputBuffer;
  source_.skip_input_data = SkipInputData;
  source_.resync_to_restart = jpeg_resync_to_restart;
  source_.term_source = TermSource;
  source_.next_input_byte = bytes.data();
  source_.bytes_in_buffer = bytes.size();
  info_.src = &source_;
}

Decompressor::~Decompressor() { jpeg_destroy_decompress(&info_); }

Compressor::Compressor() : errors_{}, info_{}, destination_{} {
  info_.err = InstallErrorManager(errors_);
  try {
    Call([&] { jpeg_create_compress(&info_); });
  } catch (...) {
    jpeg_destroy_compress(&info_);
    throw;
  }
  destination_.pub.init_destination = InitDestination;
  destination_.pub.empty_output_buffer = EmptyOutputBuffer;
  destination_.pub.term_destination = TermDestination;
  info_.dest = &destination_.pub;
}

Compressor::~Compressor() { jpeg_destroy_compress(&info_); }

std::vector<uint8_t> Compressor::TakeOutput() {
  std::vector<uint8_t> bytes = std::move(destination_.bytes);
  destination_.bytes.clear();
  destination_.pub.free_in_buffer = 0;
  return bytes;
}

}  // namespace pk::jpeg_library
