// Replacing a file in the DLL: a temporary file created exclusively beside the
// target, written and flushed, then moved over the target in one step
// (MoveFileEx with replace and write-through). Any failure deletes the
// temporary file and leaves the target as it was.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/file_system.h"

#include <string>

#include "platform/exceptions.h"
#include "platform/messages.h"

#include <windows.h>

namespace pk {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

class TTemporaryFile {
 public:
  explicit TTemporaryFile(const std::wstring& target) {
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring base = slash == std::wstring::npos ? target : target.substr(slash + 1);
    const std::wstring process = std::to_wstring(GetCurrentProcessId());
    for (int attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
      path_ = folder + L"~" + base + L".tmp" + process + L"-" + std::to_wstring(attempt);
      handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
  }
  ~TTemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (!committed_ && handle_ != INVALID_HANDLE_VALUE) DeleteFileW(path_.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }

  bool WriteAll(std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!::WriteFile(handle_, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes = bytes.subspan(written);
    }
    return FlushFileBuffers(handle_) != FALSE;
  }

  bool MoveOver(const std::wstring& target) {
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    committed_ = closed && MoveFileExW(path_.c_str(), target.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!committed_) DeleteFileW(path_.c_str());
    return committed_;
  }

 private:
  std::wstring path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool committed_ = false;
};

}  // namespace

void ReplaceFileContents(const std::u16string& file_name, std::span<const uint8_t> bytes) {
  const std::wstring target = Wide(file_name);
  const std::u16string cannot_create = msg::kCannotCreateFile + file_name + u"\"";
  TTemporaryFile temporary(target);
  if (!temporary.Opened()) throw EFCreateError(cannot_create);
  if (!temporary.WriteAll(bytes)) throw EWriteError(msg::kStreamWriteError);
  if (!temporary.MoveOver(target)) throw EFCreateError(cannot_create);
}

}  // namespace pk
