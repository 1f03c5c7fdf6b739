#include "jpeg/exif_thumbnail.h"

namespace pk {

void TEXIFThumbnail::Clear() {
  FIFDCount = 0;
  FThumbnailImage.Clear();
  FTagData.Clear();
}

}  // namespace pk
