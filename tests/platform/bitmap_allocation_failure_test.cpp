// The bitmap's strong guarantee under forced allocation failures. This test
// program replaces the global allocation functions: while a test arms it, the
// Nth allocation of the current thread throws std::bad_alloc. Every mutating
// operation runs with N = 1, 2, ... until it succeeds; after each failure the
// bitmap must be exactly as before and every row writable over its full
// stride (an overflow shows under ASan).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/palette.h"
#include "platform/stream.h"

namespace {

// Allocations left before the failing one; 0 leaves the allocator alone.
thread_local long t_allocations_before_failure = 0;

void* Allocate(std::size_t size) {
  if (t_allocations_before_failure > 0 && --t_allocations_before_failure == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace pk {
namespace {

static_assert(std::is_nothrow_move_constructible_v<TBitmap> && std::is_nothrow_move_assignable_v<TBitmap>);

class FailNthAllocation {
 public:
  explicit FailNthAllocation(long n) { t_allocations_before_failure = n; }
  ~FailNthAllocation() { t_allocations_before_failure = 0; }
};

struct Snapshot {
  int width, height;
  PixelFormat format;
  int64_t stride;
  std::vector<uint8_t> rows;
  std::vector<TColor> table, palette;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << s.width << " x " << s.height << " at " << BitsPerPixel(s.format) << " bits, stride " << s.stride << ", "
      << s.rows.size() << " row bytes, " << s.table.size() << " table entries, " << s.palette.size()
      << " palette entries";
}

Snapshot Snap(const TBitmap& b) {
  Snapshot s{b.Width(), b.Height(), b.GetPixelFormat(), b.RowBytes(), {}, {}, b.Palette()};
  s.table.assign(b.ColorTable().begin(), b.ColorTable().end());
  for (int y = 0; y < b.Height(); ++y) s.rows.insert(s.rows.end(), b.ScanLine(y), b.ScanLine(y) + b.RowBytes());
  return s;
}

void WriteEveryRow(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y) std::memset(b.ScanLine(y), 0xA5, static_cast<size_t>(b.RowBytes()));
}

// 13 pixels wide, so no format's rows end on a whole word.
TBitmap Start(PixelFormat format) {
  TBitmap b(13, 5, format);
  for (int y = 0; y < b.Height(); ++y)
    for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = static_cast<uint8_t>(7 * y + 31 * i);
  if (IsPaletted(format))
    b.SetColorTable(DefaultPalette(format));
  else
    b.SetPalette(std::vector<TColor>{RGB(255, 0, 0), RGB(0, 0, 255)});
  return b;
}

std::vector<uint8_t> Bmp(TBitmap picture) {
  TMemoryStream stream;
  picture.SaveToStream(stream);
  return stream.Release();
}

struct Operation {
  std::string name;
  PixelFormat start;
  std::function<void(TBitmap&)> run;
};

std::vector<Operation> Operations() {
  using PF = PixelFormat;
  std::vector<Operation> ops;
  const PF formats[] = {PF::pf1bit, PF::pf4bit, PF::pf8bit, PF::pf16bit, PF::pf24bit, PF::pf32bit};
  for (const PF from : formats)
    for (const PF to : formats)
      if (from != to)
        ops.push_back({"SetPixelFormat " + std::to_string(BitsPerPixel(from)) + " to " +
                           std::to_string(BitsPerPixel(to)),
                       from, [to](TBitmap& b) { b.SetPixelFormat(to); }});
  for (const PF f : formats) {
    const std::string bits = std::to_string(BitsPerPixel(f));
    ops.push_back({"SetSize " + bits, f, [](TBitmap& b) { b.SetSize(40, 9); }});
    const PF other = f == PF::pf8bit ? PF::pf4bit : PF::pf8bit;
    ops.push_back({"Assign " + bits, f, [other](TBitmap& b) { b.Assign(Start(other)); }});
    ops.push_back({"SetPalette " + bits, f, [](TBitmap& b) { b.SetPalette(GreyPalette()); }});
    ops.push_back({"SetColorTable " + bits, f, [](TBitmap& b) { b.SetColorTable(GreyPalette()); }});
    ops.push_back({"Adopt " + bits, f, [](TBitmap& b) {
                     b.Adopt(PF::pf8bit, 3, 2, GreyPalette(), TByteBuffer(8, 9));
                   }});
    ops.push_back({"LoadFromStream " + bits, f, [bmp = Bmp(Start(PF::pf4bit))](TBitmap& b) {
                     TMemoryStream stream(bmp);
                     b.LoadFromStream(stream);
                   }});
  }
  return ops;
}

TEST(BitmapStrongGuarantee, EveryMutationSurvivesEachAllocationFailing) {
  for (const Operation& op : Operations()) {
    for (long n = 1;; ++n) {
      ASSERT_LT(n, 10000) << op.name << " never succeeded";
      TBitmap b = Start(op.start);
      const Snapshot before = Snap(b);
      bool failed = false;
      {
        FailNthAllocation arm(n);
        try {
          op.run(b);
        } catch (...) {
          failed = true;
        }
      }
      if (!failed) {
        EXPECT_GT(n, 1) << op.name << " allocated nothing, so no failure was tried";
        break;
      }
      ASSERT_EQ(Snap(b), before) << op.name << ", allocation " << n << " failing";
      WriteEveryRow(b);
    }
  }
}

TEST(BitmapStrongGuarantee, ASizeAboveTheLimitLeavesTheBitmapAsItWas) {
  TBitmap b = Start(PixelFormat::pf24bit);
  const Snapshot before = Snap(b);
  EXPECT_THROW(b.SetSize(1 << 20, 1 << 20), EOutOfResources);
  EXPECT_THROW(b.Adopt(PixelFormat::pf8bit, 4, 4, {}, TByteBuffer(3, 0)), EInvalidGraphic);
  EXPECT_EQ(Snap(b), before);
}

TEST(BitmapValue, MovesCarryThePixelsAndLeaveEachCanvasOnItsOwnBitmap) {
  TBitmap a = Start(PixelFormat::pf8bit);
  const Snapshot original = Snap(a);
  TCanvas& canvas_of_a = a.Canvas();
  TBitmap b(std::move(a));
  EXPECT_EQ(Snap(b), original);
  EXPECT_TRUE(a.Empty());
  EXPECT_EQ(a.RowBytes(), 0);

  a = std::move(b);
  EXPECT_EQ(Snap(a), original);
  canvas_of_a.Brush.Color = clWhite;
  canvas_of_a.FillRect(Rect(0, 0, 13, 5));
  EXPECT_EQ(a.PixelColor(12, 4), clWhite);
  EXPECT_TRUE(b.Empty());
  b = TBitmap(2, 2, PixelFormat::pf24bit);
  b.Canvas().SetPixel(1, 1, RGB(255, 0, 0));
  EXPECT_EQ(b.PixelColor(1, 1), RGB(255, 0, 0));
}

}  // namespace
}  // namespace pk
