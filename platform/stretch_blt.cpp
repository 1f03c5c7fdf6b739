#include "platform/stretch_blt.h"

#include <algorithm>
#include <cstring>

#include "platform/bitmap.h"
#include "platform/palette.h"

namespace pk {
namespace {

bool SameTable(const TBitmap& a, const TBitmap& b) {
  return a.GetPixelFormat() == b.GetPixelFormat() && std::ranges::equal(a.ColorTable(), b.ColorTable());
}

}  // namespace

void StretchBlt(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src, StretchMode mode) {
  const int dw = dest.Width();
  const int dh = dest.Height();
  const int sw = src.Width();
  const int sh = src.Height();
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || source.Empty() || target.Empty()) return;
  const TBitmap* from = &source;
  TBitmap alias_copy;
  if (&source == &target) {
    alias_copy.Assign(source);
    from = &alias_copy;
  }
  const bool by_index = IsPaletted(target.GetPixelFormat()) && SameTable(*from, target);
  ColorMatcher matcher(target.ColorTable());
  const bool paletted_target = IsPaletted(target.GetPixelFormat());
  // Nearest-pixel sampling; mirrored rectangles (negative sizes) flip.
  for (int j = 0; j < std::abs(dh); ++j) {
    const int ty = dh > 0 ? dest.Top + j : dest.Top - 1 - j;
    if (ty < 0 || ty >= target.Height()) continue;
    const int64_t sj = static_cast<int64_t>(j) * std::abs(sh) / std::abs(dh);
    const int sy = sh > 0 ? src.Top + static_cast<int>(sj) : src.Top - 1 - static_cast<int>(sj);
    if (sy < 0 || sy >= from->Height()) continue;
    for (int i = 0; i < std::abs(dw); ++i) {
      const int tx = dw > 0 ? dest.Left + i : dest.Left - 1 - i;
      if (tx < 0 || tx >= target.Width()) continue;
      const int64_t si = static_cast<int64_t>(i) * std::abs(sw) / std::abs(dw);
      const int sx = sw > 0 ? src.Left + static_cast<int>(si) : src.Left - 1 - static_cast<int>(si);
      if (sx < 0 || sx >= from->Width()) continue;
      if (by_index) {
        target.SetPixelIndex(tx, ty, from->PixelIndex(sx, sy));
      } else if (paletted_target) {
        target.SetPixelIndex(tx, ty, matcher.Match(from->PixelColor(sx, sy)));
      } else {
        target.SetPixelColor(tx, ty, from->PixelColor(sx, sy));
      }
    }
  }
  (void)mode;
}

}  // namespace pk
