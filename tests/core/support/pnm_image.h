// Binary PGM and PPM images as the fixture scripts write them (P5 for palette
// indexes or grey, P6 for RGB; maxval 255, no comments), and their conversion
// to and from the component's bitmaps.
#pragma once

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "tests/support/test_files.h"

namespace pk::test {

struct PnmImage {
  int Width = 0;
  int Height = 0;
  int Channels = 0;  // 1 for P5, 3 for P6
  std::vector<uint8_t> Samples;

  uint8_t At(int x, int y, int c = 0) const { return Samples[(size_t(y) * Width + x) * Channels + c]; }
};

inline PnmImage ReadPnm(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64)));
  std::string magic;
  int maxval = 0;
  PnmImage image;
  header >> magic >> image.Width >> image.Height >> maxval;
  if ((magic != "P5" && magic != "P6") || maxval != 255) throw std::runtime_error("not a PNM: " + path.string());
  image.Channels = magic == "P5" ? 1 : 3;
  const auto offset = static_cast<size_t>(header.tellg()) + 1;
  const size_t size = size_t(image.Width) * image.Height * image.Channels;
  if (bytes.size() < offset + size) throw std::runtime_error("short PNM: " + path.string());
  image.Samples.assign(bytes.begin() + offset, bytes.begin() + offset + size);
  return image;
}

// A 24-bit bitmap of a P6 image.
inline TBitmap BitmapOfPpm(const PnmImage& image) {
  TBitmap bitmap(image.Width, image.Height, PixelFormat::pf24bit);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      bitmap.SetPixelColor(x, y, RGB(image.At(x, y, 0), image.At(x, y, 1), image.At(x, y, 2)));
  return bitmap;
}

}  // namespace pk::test
