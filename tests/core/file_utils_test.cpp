#include "core/file_utils.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace pk {
namespace {

TEST(FileUtils, OnlyAnExistingNonDirectoryIsAnExistingFile) {
  test::ScratchDir dir;
  test::WriteAll(dir / "image.png", {1, 2, 3});
  test::WriteAll(dir / "empty.bin", {});
  std::filesystem::create_directory(dir / "folder.png");
  EXPECT_TRUE(IsExistingFile(test::U16(dir / "image.png")));
  EXPECT_TRUE(IsExistingFile(test::U16(dir / "empty.bin")));
  EXPECT_FALSE(IsExistingFile(test::U16(dir / "folder.png")));
  EXPECT_FALSE(IsExistingFile(test::U16(dir.Path())));
  EXPECT_FALSE(IsExistingFile(test::U16(dir / "missing.png")));
  EXPECT_FALSE(IsExistingFile(test::U16(dir / "missing" / "deeper.png")));
  EXPECT_FALSE(IsExistingFile(u""));
}

TEST(FileUtils, NamesThatNameNoFileNeverRaise) {
  test::ScratchDir dir;
  const std::u16string unpaired = test::U16(dir.Path()) + u"/a\xD800.png";
  EXPECT_FALSE(IsExistingFile(unpaired));
  EXPECT_FALSE(IsExistingFile(std::u16string(5000, u'x')));
}

TEST(FileUtils, NonAsciiNamesAreFound) {
  test::ScratchDir dir;
  test::WriteAll(dir.Path() / std::filesystem::path(u"caf\u00e9 \u6f22.png"), {1});
  EXPECT_TRUE(IsExistingFile(test::U16(dir.Path()) + u"/caf\u00e9 \u6f22.png"));
}

TEST(FileUtils, StripLeadingDotRemovesOnlyALeadingDotBeforeText) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u".png", u"png"}, {u"png", u"png"}, {u".", u"."}, {u"", u""}, {u"..gif", u".gif"}, {u"a.b", u"a.b"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(StripLeadingDot(text), expected);
}

}  // namespace
}  // namespace pk
