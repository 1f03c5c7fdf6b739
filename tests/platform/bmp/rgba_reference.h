// Reference pixels for the BMP tests: the .rgba files that make_fixtures.py
// writes beside its BMPs, and the same layout produced on demand by Pillow
// (pillow_dump.py) for files the component wrote. Compared against a bitmap
// through PixelColor, so every pixel format is checked by colour.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "tests/support/test_files.h"

namespace pk::test {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // top row first
};

inline RgbaImage ReadRgba(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  RgbaImage image;
  if (bytes.size() < 8) return image;
  const auto load32 = [&](size_t at) {
    return static_cast<int>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (bytes[at + 3] << 24));
  };
  image.width = load32(0);
  image.height = load32(4);
  image.rgba.assign(bytes.begin() + 8, bytes.end());
  return image;
}

// What Pillow decodes each file to, asked of one Python process for the whole
// batch; nothing when Pillow fails (and always under Windows, where the suite
// runs without the oracles).
inline std::optional<std::vector<RgbaImage>> PillowDecode(const std::vector<std::filesystem::path>& files,
                                                          const ScratchDir& scratch) {
#ifdef _WIN32
  return std::nullopt;
#else
  const auto script = std::filesystem::path(__FILE__).parent_path() / "pillow_dump.py";
  std::string command = "/usr/bin/python3 '" + script.string() + "'";
  std::vector<std::filesystem::path> outputs;
  for (const auto& file : files) {
    outputs.push_back(scratch / (file.filename().string() + ".rgba"));
    command += " '" + file.string() + "' '" + outputs.back().string() + "'";
  }
  if (std::system(command.c_str()) != 0) return std::nullopt;
  std::vector<RgbaImage> images;
  for (const auto& out : outputs) images.push_back(ReadRgba(out));
  return images;
#endif
}

// Colours within tolerance per component; the alpha byte of a 32-bit bitmap
// too when check_alpha is set.
inline void ExpectPixelsMatch(const TBitmap& bitmap, const RgbaImage& reference, int tolerance = 0,
                              bool check_alpha = false) {
  ASSERT_EQ(bitmap.Width(), reference.width);
  ASSERT_EQ(bitmap.Height(), reference.height);
  ASSERT_EQ(reference.rgba.size(), static_cast<size_t>(reference.width) * reference.height * 4);
  int mismatches = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint8_t* ref = reference.rgba.data() + (static_cast<size_t>(y) * reference.width + x) * 4;
      const TColor c = bitmap.PixelColor(x, y);
      const int got[4] = {GetRValue(c), GetGValue(c), GetBValue(c),
                          check_alpha ? bitmap.ScanLine(y)[4 * x + 3] : ref[3]};
      for (int i = 0; i < 4; ++i) {
        if (std::abs(got[i] - ref[i]) > tolerance && ++mismatches <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") component " << i << ": " << got[i] << " vs " << int{ref[i]};
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace pk::test
