// Staged files natively: the temporary file is created exclusively (O_EXCL)
// beside the target and written. Committing to a name no file holds is a
// rename that refuses to replace (renameat2 with RENAME_NOREPLACE, or link and
// unlink on file systems without it). Replacing an existing file first flushes
// the new contents to disk, then renames over the target (atomic within one
// folder; the target's permission bits are copied first). Only a temporary
// file this object created is ever removed.
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

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

[[noreturn]] void CannotCreate(const std::u16string& target) {
  throw EFCreateError(msg::kCannotCreateFile + target + u"\"");
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
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

struct TStagedFile::TTemporary {
  std::string path;
  bool created = false;
  bool committed = false;
  ~TTemporary() {
    if (created && !committed) unlink(path.c_str());
  }
};

TStagedFile::TStagedFile(const std::u16string& target, std::span<const uint8_t> bytes)
    : temporary_(std::make_unique<TTemporary>()) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary_->path = Utf16ToUtf8(TemporaryNameBeside(target));
    fd = open(temporary_->path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) CannotCreate(target);
  temporary_->created = true;
  const bool written = WriteAll(fd, bytes);
  if (close(fd) != 0 || !written) throw EWriteError(msg::kStreamWriteError);
}

TStagedFile::~TStagedFile() = default;

void TStagedFile::CommitReplacing(const std::u16string& target) {
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
  const int error = RenameIfAbsent(temporary_->path, Utf16ToUtf8(target));
  if (error == 0) {
    temporary_->committed = true;
    return true;
  }
  if (error == EEXIST) return false;
  CannotCreate(target);
}

}  // namespace pk
