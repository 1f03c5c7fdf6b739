// Staged files natively: the temporary file is created exclusively (O_EXCL)
// beside the target, written and flushed to disk. Replacing commits with
// rename (atomic within one folder; an existing target's permission bits are
// copied first); committing only when absent uses renameat2 with
// RENAME_NOREPLACE, or link and unlink on file systems without it. Only a
// temporary file this object created is ever removed.
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
  return fsync(fd) == 0;
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
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) chmod(temporary_->path.c_str(), existing.st_mode & 07777);
  if (rename(temporary_->path.c_str(), path.c_str()) != 0) CannotCreate(target);
  temporary_->committed = true;
}

bool TStagedFile::CommitIfAbsent(const std::u16string& target) {
  const std::string path = Utf16ToUtf8(target);
  if (renameat2(AT_FDCWD, temporary_->path.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    temporary_->committed = true;
    return true;
  }
  if (errno == EINVAL || errno == ENOSYS) {
    // A file system without the no-replace rename: a hard link is made only
    // where no name exists either.
    if (link(temporary_->path.c_str(), path.c_str()) == 0) {
      temporary_->committed = true;
      unlink(temporary_->path.c_str());
      return true;
    }
  }
  if (errno == EEXIST) return false;
  CannotCreate(target);
}

}  // namespace pk
