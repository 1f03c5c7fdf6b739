// Many objects on many threads, as a web server runs them: 8 threads, each
// with its own automation object, each round loading (from memory and from a
// file all threads share), changing the image through the object's members
// (Resize, Crop, FlipX, Invert, ColorDepth) and writing it to a file of its
// own and to memory. Every thread has its own sizes, colour depth and output
// formats, so objects that leaked state into each other would write another
// thread's picture; every output must equal the one a single thread makes,
// and that one must read back as the picture asked for. The ThreadSanitizer
// build (linux-tsan) reports any data race, the ASan build any leak;
// PIXMARL_STRESS_ROUNDS sets the rounds (default 1000; the sanitizer and Wine
// test presets take 200, enough for every thread to run each member many
// times: ThreadSanitizer sees a race from the order of the accesses rather
// than waiting for them to collide).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "automation/image_functions.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/jpeg/jpeg_format.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

constexpr int kThreads = 8;

int Rounds() {
  const char* text = std::getenv("PIXMARL_STRESS_ROUNDS");
  return text ? std::atoi(text) : 1000;
}

// A 24-bit picture with a different colour at every pixel, as BMP.
std::vector<uint8_t> SourceBmp() {
  TBitmap image(40, 30, PixelFormat::pf24bit);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) image.SetPixelColor(x, y, RGB(x * 6, y * 8, (x * y) % 256));
  }
  return EncodeBmp(image, {});
}

// What one thread does to its image and how it writes it.
struct Plan {
  int resize_width;
  int resize_height;
  int depth;
  std::string file_extension;
  std::u16string memory_type;

  // Crop takes a margin of 2 and 3 pixels on either side.
  int Width() const { return resize_width - 5; }
  int Height() const { return resize_height - 5; }
};

Plan PlanOf(int thread) {
  constexpr int kDepths[] = {24, 8, 4, 1};
  const bool bmp_file = thread % 2 == 0;
  return {31 + thread, 23 + 2 * thread, kDepths[thread % 4], bmp_file ? ".bmp" : ".jpg", bmp_file ? u"jpg" : u"bmp"};
}

struct Source {
  std::vector<uint8_t> bytes;
  std::u16string file;
};

struct Outputs {
  std::vector<uint8_t> file;    // what WriteFile wrote
  std::vector<uint8_t> memory;  // what VariantOut gave

  bool operator==(const Outputs&) const = default;
};

Outputs RunRound(TImageFunctions& object, const Source& source, int round, const Plan& plan,
                 const std::filesystem::path& own_file) {
  if (round % 2) object.ReadFile(source.file);
  else object.ReadVariant(source.bytes);
  object.Resize(plan.resize_width, plan.resize_height);
  object.Crop(2, 3, plan.resize_width - 3, plan.resize_height - 2);
  object.FlipX();
  object.Invert();
  object.SetColorDepth(plan.depth);
  object.WriteFile(test::U16(own_file));
  return {test::ReadAll(own_file), object.VariantOut(plan.memory_type)};
}

// The single-thread outputs read back: both have the planned size, and the
// BMP has the planned colour depth.
void ExpectPlannedPicture(const Outputs& outputs, const Plan& plan) {
  const bool bmp_file = plan.file_extension == ".bmp";
  const std::vector<uint8_t>& bmp = bmp_file ? outputs.file : outputs.memory;
  const std::vector<uint8_t>& jpeg = bmp_file ? outputs.memory : outputs.file;
  const TDecodedImage from_bmp = DecodeBmp(bmp, {});
  EXPECT_EQ(from_bmp.bitmap.Width(), plan.Width());
  EXPECT_EQ(from_bmp.bitmap.Height(), plan.Height());
  EXPECT_EQ(from_bmp.bitmap.BitCount(), plan.depth);
  const TDecodedImage from_jpeg = DecodeJpegImage(jpeg, {});
  EXPECT_EQ(from_jpeg.bitmap.Width(), plan.Width());
  EXPECT_EQ(from_jpeg.bitmap.Height(), plan.Height());
}

TEST(ThreadStress, ObjectsOnEightThreadsLoadChangeAndWriteAlike) {
  const test::ScratchDir dir;
  const Source source{SourceBmp(), test::U16(dir / "source.bmp")};
  test::WriteAll(dir / "source.bmp", source.bytes);

  std::vector<Outputs> expected;
  for (int t = 0; t < kThreads; ++t) {
    SCOPED_TRACE("thread " + std::to_string(t));
    const Plan plan = PlanOf(t);
    TImageFunctions reference;
    expected.push_back(RunRound(reference, source, 0, plan, dir / ("reference" + plan.file_extension)));
    ExpectPlannedPicture(expected.back(), plan);
  }

  const int rounds = Rounds();
  std::vector<std::string> failures(kThreads);
  std::atomic<int> done{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      try {
        const Plan plan = PlanOf(t);
        const auto own_file = dir / ("out" + std::to_string(t) + plan.file_extension);
        TImageFunctions object;
        for (int round = 0; round < rounds && failures[t].empty(); ++round) {
          if (RunRound(object, source, round, plan, own_file) == expected[t]) ++done;
          else failures[t] = "round " + std::to_string(round) + " wrote another picture";
        }
      } catch (const std::exception& e) {
        failures[t] = e.what();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;
  EXPECT_EQ(done, kThreads * rounds);
}

}  // namespace
}  // namespace pk
