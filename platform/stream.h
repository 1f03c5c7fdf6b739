// Streams as the codecs use them: a position, a size, short reads that return
// what they could, and ReadBuffer/WriteBuffer that raise when they cannot do
// the whole request. Positions and sizes are 64-bit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/byte_buffer.h"

namespace pk {

enum class SeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to count bytes; returns how many were read.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes count bytes; returns how many were written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, SeekOrigin::soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, SeekOrigin::soBeginning); }
  int64_t Remaining() { return Size() - Position(); }

  // The whole count or EReadError "Stream read error".
  void ReadBuffer(void* buffer, int64_t count);
  // The whole count or EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteBytes(std::span<const uint8_t> bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
  // Copies count bytes from source's position (0: the whole source from its
  // start, as the platform's CopyFrom does). Returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);

  uint8_t ReadByte();
};

// A stream in memory. Writing past the end grows it; a gap between the old end
// and a write position reads as zeros.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  std::span<const uint8_t> Bytes() const { return data_; }
  // Takes the bytes out; the stream is left empty at position 0.
  std::vector<uint8_t> Release();
  void Clear();

  void LoadFromStream(TStream& source);
  void SaveToStream(TStream& dest) const;
  void LoadFromFile(const std::u16string& file_name);
  void SaveToFile(const std::u16string& file_name) const;

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// A read-only stream over bytes the caller owns and keeps alive: decoders read
// their input through it without copying it. Writing and resizing raise
// EWriteError / EStreamError.
class TSpanStream : public TStream {
 public:
  explicit TSpanStream(std::span<const uint8_t> bytes) : data_(bytes) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

 private:
  std::span<const uint8_t> data_;
  int64_t position_ = 0;
};

enum class FileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

// A file on disk. Opening raises EFOpenError (EFCreateError for fmCreate) with
// the platform's "Cannot open file" text. fmOpenRead denies writing to others
// where the system supports it.
class TFileStream : public TStream {
 public:
  TFileStream(const std::u16string& file_name, FileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override;
  void SetSize(int64_t size) override;

 private:
  std::FILE* file_ = nullptr;
};

// The stream's bytes from its position to its end in one buffer, read
// straight into it (never zero-filled first).
TByteBuffer ReadStreamBytes(TStream& stream);
// The whole file so; opened as TFileStream opens it for reading, with its
// errors.
TByteBuffer ReadFileBytes(const std::u16string& file_name);

}  // namespace pk
