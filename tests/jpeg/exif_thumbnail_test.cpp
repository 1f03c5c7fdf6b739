#include "jpeg/exif_thumbnail.h"

#include <gtest/gtest.h>

#include <vector>

namespace pk {
namespace {

TEST(EXIFThumbnail, ClearEmptiesEverythingButTheDirectoryEntries) {
  TEXIFThumbnail thumbnail;
  EXPECT_EQ(thumbnail.IFDCount(), 0);
  thumbnail.SetIFDCount(2);
  thumbnail.SetThumbnailImage(TMemoryStream(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}));
  thumbnail.TagData().Add(u"Compression=6");
  thumbnail.IFDDetails.push_back({0x0103, TIFDDataType::ifdShort, 1, 6});
  thumbnail.IFDDetails.push_back({0x0201, TIFDDataType::ifdLong, 1, 0x1234});

  thumbnail.Clear();
  EXPECT_EQ(thumbnail.IFDCount(), 0);
  EXPECT_EQ(thumbnail.ThumbnailImage().Size(), 0);
  EXPECT_EQ(thumbnail.TagData().Count(), 0);
  ASSERT_EQ(thumbnail.IFDDetails.size(), 2u);
  EXPECT_EQ(thumbnail.IFDDetails[1].Offset, 0x1234u);
}

}  // namespace
}  // namespace pk
