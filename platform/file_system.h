// Committing a file's new contents in one step. The contents are written
// under a short temporary name in the target's folder (an encoder writes
// straight into it, with no copy of the whole file in memory first), then the
// temporary file is renamed to the target, so a reader (or a failed write)
// never sees a half-written file. Before they replace an existing file the bytes are
// flushed to disk, so a crash never leaves that file destroyed; a new name,
// having nothing to lose, need not wait for the disk (the Windows backend
// flushes every staged file). The temporary name does not grow with the
// target's, so any valid target name can be written.
//
// Two ways to commit: replacing whatever the target holds, or only when no
// file of that name exists, with a rename that refuses to replace, so that of
// two writers racing for one name neither silently destroys the other's file.
// Passing sharing violations (another process renaming over the same target
// at that moment) are waited out briefly.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace pk {

class TStream;

class TStagedFile {
 public:
  // Creates a new, empty temporary file in the folder of target. Raises
  // EFCreateError when none can be made there.
  explicit TStagedFile(const std::u16string& target);
  // The same, holding bytes. Raises EWriteError when they cannot be written.
  TStagedFile(const std::u16string& target, std::span<const uint8_t> bytes);
  // Removes the temporary file unless it was committed.
  ~TStagedFile();
  TStagedFile(const TStagedFile&) = delete;
  TStagedFile& operator=(const TStagedFile&) = delete;

  // The temporary file, for writing the contents until the first commit; its
  // writes raise EWriteError when the disk refuses them.
  TStream& Contents();

  // Both commits first close the temporary file, raising EWriteError when its
  // contents could not all be written.
  //
  // Makes the contents the target's, replacing an existing file (which keeps
  // its permissions). Raises EFCreateError when that cannot be done.
  void CommitReplacing(const std::u16string& target);
  // Makes the contents the target's when no file or folder of that name
  // exists; returns false, committing nothing, when the name is taken, so the
  // caller may try another. Raises EFCreateError on any other failure.
  bool CommitIfAbsent(const std::u16string& target);

 private:
  struct TTemporary;  // the backend's temporary file
  std::unique_ptr<TTemporary> temporary_;
};

// Replaces the file's contents through a TStagedFile. On failure raises
// EFCreateError or EWriteError and leaves the target untouched and no
// temporary file behind.
inline void ReplaceFileContents(const std::u16string& file_name, std::span<const uint8_t> bytes) {
  TStagedFile(file_name, bytes).CommitReplacing(file_name);
}

// A fresh temporary name in the folder of target ("<folder>.pk<16 hex
// digits>.tmp"), for creating exclusively; random, so concurrent writers
// rarely need a second try.
std::u16string TemporaryNameBeside(const std::u16string& target);

}  // namespace pk
