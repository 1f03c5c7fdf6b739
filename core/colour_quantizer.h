// TColorQuantizer: octree colour quantisation. Every pixel goes down an octree
// whose child index at level L is made of bit 7 - L of red, green and blue;
// after each pixel, while there are more leaves than wanted, the newest
// non-leaf node of the deepest level that has one is merged into a leaf. The
// leaves' mean colours, walked depth first in child order, are the palette.
//
// The palette depends on the order the pixels arrive in: rows are fed from the
// bottom row of the picture up, each from left to right, and callers (and
// stored images) rely on the palette that order gives.
#pragma once

#include <cstdint>
#include <vector>

#include "core/palette_types.h"
#include "platform/bitmap.h"

namespace pk {

class TColorQuantizer {
 public:
  // MaxColors below 1 or ColorBits above 8 raise EAssertionFailed.
  TColorQuantizer(int MaxColors, int ColorBits);

  // Feeds every pixel of a 1-, 4-, 8- or 24-bit bitmap; other formats feed
  // nothing. A bitmap 1 048 576 pixels wide or high or more raises
  // EAssertionFailed and feeds nothing.
  void ProcessImage(const TBitmap& Bitmap);

  // The leaves' colours into consecutive entries from 0 (at most 256); the
  // other entries, and the whole table while nothing was fed, stay as they were.
  void GetColorTable(TRGBQuadArray& RGBQuadArray) const;

  int ColorCount() const { return FLeafCount; }

 private:
  static constexpr int32_t kNone = -1;

  struct TOctreeNode {
    bool IsLeaf = false;
    // A leaf can gather every pixel of the image: counts and sums never wrap.
    uint64_t PixelCount = 0;
    uint64_t RedSum = 0;
    uint64_t GreenSum = 0;
    uint64_t BlueSum = 0;
    int32_t Next = kNone;  // the next node of the same level's reducible list
    int32_t Child[8] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
  };

  int32_t NewNode(int Level);
  void FreeNode(int32_t Node);
  void InsertColour(uint8_t R, uint8_t G, uint8_t B);
  void MergeDeepestNode();
  void FeedRow(const uint8_t* Bgr, int Width);

  // Nodes live in one pool, addressed by index; freed ones are reused, so the
  // pool never holds much more than a tree of MaxColors leaves.
  std::vector<TOctreeNode> FNodes;
  std::vector<int32_t> FFreeNodes;
  int32_t FTree = kNone;
  int FLeafCount = 0;
  int32_t FReducibleNodes[8] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
  int FMaxColors;
  int FColorBits;
};

}  // namespace pk
