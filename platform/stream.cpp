#include "platform/stream.h"

#include <algorithm>
#include <utility>
#include <cstring>
#include <filesystem>

#include "platform/exceptions.h"
#include "platform/messages.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace pk {

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(msg::kStreamReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(msg::kStreamWriteError);
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 1 << 16;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kChunk)));
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min(left, kChunk);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

namespace {

// Reads from bytes at position (which may lie past the end), advancing it.
int64_t ReadAt(std::span<const uint8_t> bytes, int64_t& position, void* buffer, int64_t count) {
  const int64_t size = static_cast<int64_t>(bytes.size());
  if (count <= 0 || position >= size) return 0;
  const int64_t n = std::min(count, size - position);
  std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::soCurrent) base = position;
  if (origin == SeekOrigin::soEnd) base = size;
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) throw EStreamError(msg::kStreamSizeError);
  return target;
}

}  // namespace

int64_t TMemoryStream::Read(void* buffer, int64_t count) { return ReadAt(data_, position_, buffer, count); }

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ > Size() - count) SetSize(position_ + count);
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  position_ = SeekTarget(position_, Size(), offset, origin);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || static_cast<uint64_t>(size) > data_.max_size()) throw EStreamError(msg::kStreamSizeError);
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, size);
}

std::vector<uint8_t> TMemoryStream::Release() {
  position_ = 0;
  return std::exchange(data_, {});
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const int64_t n = source.Size();
  SetSize(n);
  position_ = 0;
  source.ReadBuffer(data_.data(), n);
}

void TMemoryStream::SaveToStream(TStream& dest) const {
  dest.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::u16string& file_name) {
  TFileStream file(file_name, FileMode::fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::u16string& file_name) const {
  TFileStream file(file_name, FileMode::fmCreate);
  SaveToStream(file);
}

namespace {

std::FILE* OpenFile(const std::u16string& name, FileMode mode) {
  const std::filesystem::path path(name);
#ifdef _WIN32
  const wchar_t* how = mode == FileMode::fmCreate ? L"w+b" : mode == FileMode::fmOpenRead ? L"rb" : L"r+b";
  const int share = mode == FileMode::fmOpenRead ? _SH_DENYWR : _SH_DENYRW;
  return _wfsopen(path.c_str(), how, share);
#else
  const char* how = mode == FileMode::fmCreate ? "w+b" : mode == FileMode::fmOpenRead ? "rb" : "r+b";
  std::FILE* f = std::fopen(path.c_str(), how);
  // fopen opens directories for reading on Linux; they are not files.
  if (f && std::filesystem::is_directory(path)) {
    std::fclose(f);
    return nullptr;
  }
  return f;
#endif
}

}  // namespace

TFileStream::TFileStream(const std::u16string& file_name, FileMode mode) {
  file_ = OpenFile(file_name, mode);
  if (!file_) {
    if (mode == FileMode::fmCreate) throw EFCreateError(msg::kCannotCreateFile + file_name + u"\"");
    throw EFOpenError(msg::kCannotOpenFile + file_name + u"\"");
  }
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::soBeginning ? SEEK_SET : origin == SeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(file_, offset, whence) != 0) throw EStreamError(msg::kStreamSizeError);
  return _ftelli64(file_);
#else
  if (fseeko(file_, offset, whence) != 0) throw EStreamError(msg::kStreamSizeError);
  return ftello(file_);
#endif
}

int64_t TFileStream::Size() const {
  std::fflush(file_);
#ifdef _WIN32
  return _filelengthi64(_fileno(file_));
#else
  const off_t here = ftello(file_);
  fseeko(file_, 0, SEEK_END);
  const off_t end = ftello(file_);
  fseeko(file_, here, SEEK_SET);
  return end;
#endif
}

void TFileStream::SetSize(int64_t size) {
  std::fflush(file_);
#ifdef _WIN32
  const bool ok = _chsize_s(_fileno(file_), size) == 0;
#else
  const bool ok = ftruncate(fileno(file_), size) == 0;
#endif
  if (!ok) throw EStreamError(msg::kStreamSizeError);
}

TByteBuffer ReadStreamBytes(TStream& stream) {
  const int64_t size = stream.Remaining();
  if (size < 0 || static_cast<uint64_t>(size) > TByteBuffer().max_size()) throw EStreamError(msg::kStreamSizeError);
  TByteBuffer bytes(static_cast<size_t>(size));
  stream.ReadBuffer(bytes.data(), size);
  return bytes;
}

TByteBuffer ReadFileBytes(const std::u16string& file_name) {
  TFileStream file(file_name, FileMode::fmOpenRead);
  return ReadStreamBytes(file);
}

int64_t TSpanStream::Read(void* buffer, int64_t count) { return ReadAt(data_, position_, buffer, count); }

int64_t TSpanStream::Write(const void*, int64_t count) {
  if (count <= 0) return 0;
  throw EWriteError(msg::kStreamWriteError);
}

int64_t TSpanStream::Seek(int64_t offset, SeekOrigin origin) {
  position_ = SeekTarget(position_, Size(), offset, origin);
  return position_;
}

void TSpanStream::SetSize(int64_t) { throw EStreamError(msg::kStreamSizeError); }

}  // namespace pk
