// Two members of the automation object on one photograph, timed without the
// load: ColorDepth := 8 (octree palette and nearest-colour mapping) and
// Resize to 800 pixels wide with resampling. Run by compare_with_others.sh,
// which gives ImageMagick and Pillow the same pixels and measures the peak
// memory of each process; run alone it takes a BMP file and an operation:
//   object_bench photo.bmp colordepth|resize [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/image_functions.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: object_bench photo.bmp colordepth|resize [repeats]\n");
    return 2;
  }
  const std::string operation = argv[2];
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    pk::TImageFunctions object;
    object.ReadFile(Wide(argv[1]));
    object.SetResample(true);
    const auto start = std::chrono::steady_clock::now();
    if (operation == "colordepth")
      object.SetColorDepth(8);
    else
      object.Resize(800, 0);
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::printf("%s: %.0f ms\n", operation.c_str(), best);
  return 0;
}
