// Staged files in the DLL: the temporary file is created exclusively
// (CREATE_NEW) beside the target, written through its handle and flushed.
// Replacing an existing target goes through ReplaceFileW, which keeps the
// target's permissions and attributes and needs no right to create files in
// the folder; a new target, and committing only when absent, is a MoveFileExW
// without the replace flag, which fails on an existing name. Another process
// renaming over the same target makes these calls fail with a sharing
// violation for a moment: they are retried for a short while before the
// commit is given up.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/file_system.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"

#include <windows.h>

namespace pk {
namespace {

constexpr ULONGLONG kRetryMilliseconds = 2000;

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

[[noreturn]] void CannotCreate(const std::u16string& target) {
  throw EFCreateError(msg::kCannotCreateFile + target + u"\"");
}

bool NameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

// Failures that another writer of the same name causes for a moment.
bool Passing(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

// Waits a little longer each time; false once the retry time is spent.
class TRetry {
 public:
  bool Wait() {
    if (GetTickCount64() - start_ >= kRetryMilliseconds) return false;
    Sleep(pause_);
    pause_ = pause_ < 64 ? pause_ * 2 : pause_;
    return true;
  }

 private:
  ULONGLONG start_ = GetTickCount64();
  DWORD pause_ = 1;
};

}  // namespace

// The temporary file, written through its handle: each write goes straight
// to the system, so the file's bytes are never gathered in memory.
struct TStagedFile::TTemporary final : TStream {
  std::wstring path;
  HANDLE file = INVALID_HANDLE_VALUE;
  bool created = false;
  bool committed = false;

  ~TTemporary() override {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (created && !committed) DeleteFileW(path.c_str());
  }

  int64_t Read(void* buffer, int64_t count) override {
    DWORD read = 0;
    if (count <= 0 || !::ReadFile(file, buffer, Chunk(count), &read, nullptr)) return 0;
    return read;
  }
  // What the system took; short when it refused the rest.
  int64_t Write(const void* buffer, int64_t count) override {
    const auto* from = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
      DWORD written = 0;
      if (!::WriteFile(file, from + done, Chunk(count - done), &written, nullptr) || written == 0) break;
      done += written;
    }
    return done;
  }
  int64_t Seek(int64_t offset, SeekOrigin origin) override {
    const DWORD method =
        origin == SeekOrigin::soBeginning ? FILE_BEGIN : origin == SeekOrigin::soCurrent ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance{}, at{};
    distance.QuadPart = offset;
    if (!SetFilePointerEx(file, distance, &at, method)) throw EStreamError(msg::kStreamSizeError);
    return at.QuadPart;
  }
  int64_t Size() const override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) throw EStreamError(msg::kStreamSizeError);
    return size.QuadPart;
  }
  void SetSize(int64_t size) override {
    const int64_t here = Seek(0, SeekOrigin::soCurrent);
    Seek(size, SeekOrigin::soBeginning);
    const bool cut = SetEndOfFile(file) != FALSE;
    Seek(std::min(here, size), SeekOrigin::soBeginning);
    if (!cut) throw EStreamError(msg::kStreamSizeError);
  }

  // Flushes and closes the file once.
  void Finish() {
    if (file == INVALID_HANDLE_VALUE) return;
    const bool flushed = FlushFileBuffers(file) != FALSE;
    const bool closed = CloseHandle(std::exchange(file, INVALID_HANDLE_VALUE)) != FALSE;
    if (!flushed || !closed) throw EWriteError(msg::kStreamWriteError);
  }

 private:
  static DWORD Chunk(int64_t count) { return count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count); }
};

TStagedFile::TStagedFile(const std::u16string& target) : temporary_(std::make_unique<TTemporary>()) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary_->path = Wide(TemporaryNameBeside(target));
    file = CreateFileW(temporary_->path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) CannotCreate(target);
  temporary_->file = file;
  temporary_->created = true;
}

TStagedFile::~TStagedFile() = default;

TStream& TStagedFile::Contents() { return *temporary_; }

void TStagedFile::CommitReplacing(const std::u16string& target) {
  temporary_->Finish();
  const std::wstring name = Wide(target);
  const wchar_t* staged = temporary_->path.c_str();
  // ReplaceFileW would take a folder of that name for a file.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) CannotCreate(target);
  for (TRetry retry;;) {
    if (ReplaceFileW(name.c_str(), staged, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) break;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      if (MoveFileExW(staged, name.c_str(), MOVEFILE_WRITE_THROUGH)) break;
      error = GetLastError();
      if (NameTaken(error)) continue;  // made meanwhile: replace it on the next round
    }
    if (!Passing(error) || !retry.Wait()) CannotCreate(target);
  }
  temporary_->committed = true;
}

bool TStagedFile::CommitIfAbsent(const std::u16string& target) {
  temporary_->Finish();
  const std::wstring name = Wide(target);
  for (TRetry retry;;) {
    if (MoveFileExW(temporary_->path.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) {
      temporary_->committed = true;
      return true;
    }
    const DWORD error = GetLastError();
    if (NameTaken(error)) return false;
    if (!Passing(error) || !retry.Wait()) CannotCreate(target);
  }
}

}  // namespace pk
