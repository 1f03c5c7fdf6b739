// Staged files natively: the temporary file is created exclusively (O_EXCL)
// beside the target and written through its descriptor. Committing to a name
// no file holds is a rename that refuses to replace (renameat2 with
// RENAME_NOREPLACE, or link and unlink on file systems without it).
// Replacing an existing file first flushes the new contents to disk, then
// renames over the target (atomic within one folder; the target's permission
// bits are copied first). Only a temporary file this object created is ever
// removed.
//
// The flush is what a crash-safe replacement needs: without it a power loss
// right after the rename may leave the target empty, destroying the file that
// was there. A new name has no earlier contents to lose (after such a crash it
// is at worst missing or short, as after any plain write), so it is committed
// without waiting for the disk, which for a photograph-sized file takes longer
// than encoding it.
#include "platform/file_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

[[noreturn]] void CannotCreate(const std::u16string& target) {
  throw EFCreateError(msg::kCannotCreateFile + target + u"\"");
}

// fsync through a descriptor of its own: any descriptor of a file flushes
// its contents.
bool FlushToDisk(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = fsync(fd) == 0;
  return close(fd) == 0 && flushed;
}

// Renames from to to unless a file or folder named to exists; 0 when done,
// else the error (EEXIST for a taken name). The source is gone once done.
int RenameIfAbsent(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the no-replace rename: a hard link is made only
  // where no name exists either.
  if (link(from.c_str(), to.c_str()) != 0) return errno;
  unlink(from.c_str());
  return 0;
}

}  // namespace

// The temporary file, written through its descriptor: each write goes
// straight to the system, so the file's bytes are never gathered in memory.
struct TStagedFile::TTemporary final : TStream {
  std::string path;
  int fd = -1;
  bool created = false;
  bool committed = false;

  ~TTemporary() override {
    if (fd >= 0) close(fd);
    if (created && !committed) unlink(path.c_str());
  }

  int64_t Read(void* buffer, int64_t count) override {
    if (count <= 0) return 0;
    ssize_t n;
    do n = read(fd, buffer, static_cast<size_t>(count));
    while (n < 0 && errno == EINTR);
    return n > 0 ? n : 0;
  }
  // What the system took; short when it refused the rest.
  int64_t Write(const void* buffer, int64_t count) override {
    const auto* from = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
      const ssize_t n = write(fd, from + done, static_cast<size_t>(count - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    return done;
  }
  int64_t Seek(int64_t offset, SeekOrigin origin) override {
    const int whence =
        origin == SeekOrigin::soBeginning ? SEEK_SET : origin == SeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    const off_t at = lseek(fd, offset, whence);
    if (at < 0) throw EStreamError(msg::kStreamSizeError);
    return at;
  }
  int64_t Size() const override {
    struct stat info {};
    if (fstat(fd, &info) != 0) throw EStreamError(msg::kStreamSizeError);
    return info.st_size;
  }
  void SetSize(int64_t size) override {
    if (ftruncate(fd, size) != 0) throw EStreamError(msg::kStreamSizeError);
  }

  // Closes the file once; a file system may report a failed write only here.
  void Finish() {
    if (fd < 0) return;
    const int closed = close(std::exchange(fd, -1));
    if (closed != 0) throw EWriteError(msg::kStreamWriteError);
  }
};

TStagedFile::TStagedFile(const std::u16string& target) : temporary_(std::make_unique<TTemporary>()) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary_->path = Utf16ToUtf8(TemporaryNameBeside(target));
    fd = open(temporary_->path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) CannotCreate(target);
  temporary_->fd = fd;
  temporary_->created = true;
}

TStagedFile::~TStagedFile() = default;

TStream& TStagedFile::Contents() { return *temporary_; }

void TStagedFile::CommitReplacing(const std::u16string& target) {
  temporary_->Finish();
  const std::string path = Utf16ToUtf8(target);
  if (RenameIfAbsent(temporary_->path, path) == 0) {
    temporary_->committed = true;
    return;
  }
  if (!FlushToDisk(temporary_->path)) throw EWriteError(msg::kStreamWriteError);
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) chmod(temporary_->path.c_str(), existing.st_mode & 07777);
  if (rename(temporary_->path.c_str(), path.c_str()) != 0) CannotCreate(target);
  temporary_->committed = true;
}

bool TStagedFile::CommitIfAbsent(const std::u16string& target) {
  temporary_->Finish();
  const int error = RenameIfAbsent(temporary_->path, Utf16ToUtf8(target));
  if (error == 0) {
    temporary_->committed = true;
    return true;
  }
  if (error == EEXIST) return false;
  CannotCreate(target);
}

}  // namespace pk
