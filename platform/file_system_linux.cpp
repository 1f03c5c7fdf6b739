// Replacing a file natively: a temporary file created exclusively beside the
// target, written and flushed to disk, then renamed over the target (rename is
// atomic within one folder). A new file gets the usual creation mode; an
// existing one keeps its permission bits.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace pk {

namespace {

class TTemporaryFile {
 public:
  explicit TTemporaryFile(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = folder + "." + base + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
      fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
  }
  ~TTemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(path_.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  bool Opened() const { return fd_ >= 0; }

  bool WriteAll(std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
      const ssize_t written = write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return fsync(fd_) == 0;
  }

  void KeepModeOf(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) fchmod(fd_, info.st_mode & 07777);
  }

  bool RenameOver(const std::string& target) {
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    committed_ = closed && rename(path_.c_str(), target.c_str()) == 0;
    return committed_;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

void ReplaceFileContents(const std::u16string& file_name, std::span<const uint8_t> bytes) {
  const std::string target = Utf16ToUtf8(file_name);
  const std::u16string cannot_create = msg::kCannotCreateFile + file_name + u"\"";
  TTemporaryFile temporary(target);
  if (!temporary.Opened()) throw EFCreateError(cannot_create);
  if (!temporary.WriteAll(bytes)) throw EWriteError(msg::kStreamWriteError);
  temporary.KeepModeOf(target);
  if (!temporary.RenameOver(target)) throw EFCreateError(cannot_create);
}

}  // namespace pk
