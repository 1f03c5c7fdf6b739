// Many objects on many threads, as a web server runs them: 8 threads, each
// with its own automation object, each round loading (from memory and from a
// file all threads share), changing the image (resize, flip, invert) and
// writing it to a file of its own and to memory. Every output must equal the
// one a single thread makes. The ThreadSanitizer build (linux-tsan) reports
// any data race, the ASan build any leak; PIXMARL_STRESS_ROUNDS sets the
// rounds (default 1000).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "automation/image_functions.h"
#include "core/bmp_image.h"
#include "core/flip.h"
#include "core/invert.h"
#include "core/resize.h"
#include "platform/stream.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

constexpr int kThreads = 8;

int Rounds() {
  const char* text = std::getenv("PIXMARL_STRESS_ROUNDS");
  return text ? std::atoi(text) : 1000;
}

std::vector<uint8_t> EncodeBmp(TBitmap& image) {
  TBMPImage bmp;
  bmp.Assign(image);
  TMemoryStream out;
  bmp.SaveToStream(out);
  return out.Release();
}

// A 24-bit picture with a different colour at every pixel, as BMP.
std::vector<uint8_t> SourceBmp() {
  TBitmap image(40, 30, PixelFormat::pf24bit);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) image.SetPixelColor(x, y, RGB(x * 6, y * 8, (x * y) % 256));
  }
  return EncodeBmp(image);
}

// The change of a round, on a copy of the object's image: the object's own
// geometry members are not wired yet, so the operations behind them run here.
std::vector<uint8_t> ChangedImage(const TImageFunctions& object) {
  TBitmap source(object.State().Image());
  std::unique_ptr<TBitmap> resized;
  ResizeBitmap(31, 23, resized, source, true, 0);
  FlipLeftToRight(*resized);
  InvertBitmap(*resized, 0, 0, 0, 0, false);
  return EncodeBmp(*resized);
}

struct Outputs {
  std::vector<uint8_t> changed;  // the changed image as BMP
  std::vector<uint8_t> written;  // the file WriteFile wrote
};

// One round; the first failure's description, or empty.
std::string Round(TImageFunctions& object, const std::vector<uint8_t>& bytes, const std::u16string& shared_file,
                  const std::filesystem::path& own_file, int round, const Outputs& expected) {
  if (round % 2) object.ReadFile(shared_file);
  else object.ReadVariant(bytes);
  if (object.Width() != 40 || object.Height() != 30) return "loaded a wrong size";
  if (ChangedImage(object) != expected.changed) return "changed image differs";
  object.WriteFile(test::U16(own_file));
  if (test::ReadAll(own_file) != expected.written) return "written file differs";
  return {};
}

TEST(ThreadStress, ObjectsOnEightThreadsLoadChangeAndWriteAlike) {
  const test::ScratchDir dir;
  const std::vector<uint8_t> bytes = SourceBmp();
  test::WriteAll(dir / "source.bmp", bytes);
  const std::u16string shared_file = test::U16(dir / "source.bmp");

  Outputs expected;
  {
    TImageFunctions reference;
    reference.ReadVariant(bytes);
    expected.changed = ChangedImage(reference);
    reference.WriteFile(test::U16(dir / "reference.bmp"));
    expected.written = test::ReadAll(dir / "reference.bmp");
  }

  const int rounds = Rounds();
  std::vector<std::string> failures(kThreads);
  std::atomic<int> done{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      try {
        TImageFunctions object;
        const auto own_file = dir / ("out" + std::to_string(t) + ".bmp");
        for (int round = 0; round < rounds && failures[t].empty(); ++round) {
          failures[t] = Round(object, bytes, shared_file, own_file, round, expected);
          if (failures[t].empty()) ++done;
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
