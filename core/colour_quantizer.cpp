// The octree lives in a node pool addressed by index, so merging frees nodes
// for reuse instead of returning them to the heap, and the reducible lists are
// chains of indexes. Palette rows are read through the colour table one row at
// a time; 24-bit rows are read in place.
#include "core/colour_quantizer.h"

#include <vector>

#include "core/messages.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"
#include "platform/pixel_rows.h"

namespace pk {
namespace {

constexpr int kMaxSide = 0x100000;

void Check(bool condition) {
  if (!condition) throw EAssertionFailed(msg::kAssertionFailure);
}

}  // namespace

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits) : FMaxColors(MaxColors), FColorBits(ColorBits) {
  // Fewer than one colour would ask the merge for a node that does not exist.
  Check(MaxColors >= 1);
  Check(ColorBits >= 0 && ColorBits <= 8);
}

int32_t TColorQuantizer::NewNode(int Level) {
  int32_t node;
  if (FFreeNodes.empty()) {
    node = static_cast<int32_t>(FNodes.size());
    FNodes.emplace_back();
  } else {
    node = FFreeNodes.back();
    FFreeNodes.pop_back();
    FNodes[node] = TOctreeNode{};
  }
  if (Level == FColorBits) {
    FNodes[node].IsLeaf = true;
    ++FLeafCount;
  } else {
    FNodes[node].Next = FReducibleNodes[Level];
    FReducibleNodes[Level] = node;
  }
  return node;
}

void TColorQuantizer::FreeNode(int32_t Node) { FFreeNodes.push_back(Node); }

void TColorQuantizer::InsertColour(uint8_t R, uint8_t G, uint8_t B) {
  if (FTree == kNone) FTree = NewNode(0);
  int32_t node = FTree;
  for (int level = 0; !FNodes[node].IsLeaf; ++level) {
    const int shift = 7 - level;
    const int index = (((R >> shift) & 1) << 2) | (((G >> shift) & 1) << 1) | ((B >> shift) & 1);
    int32_t child = FNodes[node].Child[index];
    if (child == kNone) {
      child = NewNode(level + 1);  // may move the pool: index again below
      FNodes[node].Child[index] = child;
    }
    node = child;
  }
  TOctreeNode& leaf = FNodes[node];
  ++leaf.PixelCount;
  leaf.RedSum += R;
  leaf.GreenSum += G;
  leaf.BlueSum += B;
}

void TColorQuantizer::MergeDeepestNode() {
  int level = FColorBits - 1;
  while (level > 0 && FReducibleNodes[level] == kNone) --level;
  const int32_t node = FReducibleNodes[level];
  TOctreeNode& merged = FNodes[node];
  FReducibleNodes[level] = merged.Next;
  merged.Next = kNone;
  int children = 0;
  for (int32_t& child : merged.Child) {
    if (child == kNone) continue;
    const TOctreeNode& leaf = FNodes[child];
    merged.RedSum += leaf.RedSum;
    merged.GreenSum += leaf.GreenSum;
    merged.BlueSum += leaf.BlueSum;
    merged.PixelCount += leaf.PixelCount;
    FreeNode(child);
    child = kNone;
    ++children;
  }
  merged.IsLeaf = true;
  FLeafCount -= children - 1;
}

void TColorQuantizer::FeedRow(const uint8_t* Bgr, int Width) {
  for (int x = 0; x < Width; ++x, Bgr += 3) {
    InsertColour(Bgr[2], Bgr[1], Bgr[0]);
    while (FLeafCount > FMaxColors) MergeDeepestNode();
  }
}

void TColorQuantizer::ProcessImage(const TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (format != PixelFormat::pf24bit && !IsPaletted(format)) return;
  Check(Bitmap.Height() < kMaxSide);
  Check(Bitmap.Width() < kMaxSide);
  const int width = Bitmap.Width();
  if (format == PixelFormat::pf24bit) {
    for (int y = Bitmap.Height() - 1; y >= 0; --y) FeedRow(Bitmap.ScanLine(y), width);
    return;
  }
  const BgrReader reader(Bitmap);
  std::vector<uint8_t> row(3 * static_cast<size_t>(width));
  for (int y = Bitmap.Height() - 1; y >= 0; --y) {
    reader.Read(Bitmap.ScanLine(y), 0, width, row.data());
    FeedRow(row.data(), width);
  }
}

void TColorQuantizer::GetColorTable(TRGBQuadArray& RGBQuadArray) const {
  if (FTree == kNone) return;
  size_t next = 0;
  // Depth first, children in index order; the stack holds at most 8 pending
  // children per level.
  std::vector<int32_t> pending{FTree};
  while (!pending.empty() && next < RGBQuadArray.size()) {
    const TOctreeNode& node = FNodes[pending.back()];
    pending.pop_back();
    if (node.IsLeaf) {
      TRGBQuad& entry = RGBQuadArray[next++];
      entry.rgbRed = static_cast<uint8_t>(RoundedQuotient(node.RedSum, node.PixelCount));
      entry.rgbGreen = static_cast<uint8_t>(RoundedQuotient(node.GreenSum, node.PixelCount));
      entry.rgbBlue = static_cast<uint8_t>(RoundedQuotient(node.BlueSum, node.PixelCount));
      entry.rgbReserved = 0;
      continue;
    }
    for (int i = 7; i >= 0; --i)
      if (node.Child[i] != kNone) pending.push_back(node.Child[i]);
  }
}

}  // namespace pk
