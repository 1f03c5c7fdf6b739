// Staged files: the new bytes arrive whole (written at once or through the
// staged file's stream), the target keeps its permissions, a replacement that
// cannot be made leaves neither the target changed nor a temporary file
// behind, committing only when absent never replaces a file, and a target
// name of any valid length can be written.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/exceptions.h"
#include "platform/stream.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

namespace fs = std::filesystem;

size_t EntriesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ReplaceFileContents, CreatesAndReplacesWholeFiles) {
  test::ScratchDir dir;
  const fs::path target = dir / "out.bin";
  ReplaceFileContents(test::U16(target), std::vector<uint8_t>{1, 2, 3});
  EXPECT_EQ(test::ReadAll(target), (std::vector<uint8_t>{1, 2, 3}));
  ReplaceFileContents(test::U16(target), std::vector<uint8_t>{9});
  EXPECT_EQ(test::ReadAll(target), std::vector<uint8_t>{9});
  ReplaceFileContents(test::U16(target), {});
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

#ifndef _WIN32
TEST(ReplaceFileContents, KeepsThePermissionsOfTheFileItReplaces) {
  test::ScratchDir dir;
  const fs::path target = dir / "script.sh";
  test::WriteAll(target, {'o', 'l', 'd'});
  fs::permissions(target, fs::perms::owner_all | fs::perms::group_read);
  ReplaceFileContents(test::U16(target), std::vector<uint8_t>{'n', 'e', 'w'});
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_all | fs::perms::group_read);
}
#endif

TEST(ReplaceFileContents, AMissingFolderFailsWithoutLeavingAnything) {
  test::ScratchDir dir;
  const fs::path target = dir / "no such folder" / "out.bin";
  EXPECT_THROW(ReplaceFileContents(test::U16(target), std::vector<uint8_t>{1}), EFCreateError);
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

TEST(ReplaceFileContents, ADirectoryInTheWayStaysAsItWas) {
  test::ScratchDir dir;
  const fs::path target = dir / "folder";
  fs::create_directory(target);
  test::WriteAll(target / "inside", {7});
  EXPECT_THROW(ReplaceFileContents(test::U16(target), std::vector<uint8_t>{1}), EStreamError);
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(StagedFile, CommitIfAbsentNeverReplacesAndMayTryAnotherName) {
  test::ScratchDir dir;
  test::WriteAll(dir / "taken.bin", {'o', 'l', 'd'});
  fs::create_directory(dir / "folder.bin");
  {
    TStagedFile staged(test::U16(dir / "taken.bin"), std::vector<uint8_t>{1, 2});
    EXPECT_FALSE(staged.CommitIfAbsent(test::U16(dir / "taken.bin")));
    EXPECT_FALSE(staged.CommitIfAbsent(test::U16(dir / "folder.bin")));
    EXPECT_TRUE(staged.CommitIfAbsent(test::U16(dir / "free.bin")));
  }
  EXPECT_EQ(test::ReadAll(dir / "taken.bin"), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(test::ReadAll(dir / "free.bin"), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(EntriesIn(dir.Path()), 3u);
}

// An encoder writes into the staged file as into any stream, going back to
// patch a header; the target sees the contents only once committed.
TEST(StagedFile, ContentsWrittenThroughItsStreamAreCommittedWhole) {
  test::ScratchDir dir;
  const fs::path target = dir / "out.bin";
  TStagedFile staged(test::U16(target));
  TStream& contents = staged.Contents();
  contents.WriteBytes(std::vector<uint8_t>{0, 0, 3, 4});
  const std::vector<uint8_t> row(100000, 7);
  contents.WriteBytes(row);
  contents.SetPosition(0);
  contents.WriteBytes(std::vector<uint8_t>{1, 2});
  EXPECT_EQ(contents.Position(), 2);
  EXPECT_EQ(contents.Size(), 100004);
  EXPECT_FALSE(fs::exists(target));
  ASSERT_TRUE(staged.CommitIfAbsent(test::U16(target)));

  std::vector<uint8_t> expected(4 + row.size(), 7);
  std::ranges::copy(std::vector<uint8_t>{1, 2, 3, 4}, expected.begin());
  EXPECT_EQ(test::ReadAll(target), expected);
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  // The stream is closed by the commit: nothing more reaches the file.
  EXPECT_THROW(contents.WriteBytes(std::vector<uint8_t>{9}), EWriteError);
}

TEST(StagedFile, AnUncommittedFileLeavesNothingBehind) {
  test::ScratchDir dir;
  { TStagedFile staged(test::U16(dir / "out.bin"), std::vector<uint8_t>{1}); }
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

// The temporary name does not grow with the target's: a 246-character name,
// well inside the file system's 255, is written and replaced.
TEST(StagedFile, ALongValidTargetNameIsWritten) {
  test::ScratchDir dir;
  const fs::path target = dir / (std::string(242, 'n') + ".bmp");
  ReplaceFileContents(test::U16(target), std::vector<uint8_t>{1});
  ReplaceFileContents(test::U16(target), std::vector<uint8_t>{2});
  EXPECT_EQ(test::ReadAll(target), std::vector<uint8_t>{2});
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace pk
