// What the JPEG codec tests share: the generated fixtures, the command-line
// oracles (djpeg's references are files; jpeginfo, rdjpgcom, ImageMagick's
// identify and Pillow read what we write), and pixel comparison with a
// tolerance. Under CI a missing oracle fails the test instead of skipping it;
// missing fixtures skip, as everywhere in the suite (the Wine run may lack them).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "tests/core/support/pnm_image.h"
#include "tests/support/test_files.h"

namespace pk::test {

inline std::filesystem::path JpegFixture(const std::string& name) { return GeneratedFile("jpeg/codec/" + name); }

inline bool HaveJpegFixtures() {
  return HaveGeneratedFixtures() && std::filesystem::exists(JpegFixture("photo_q75.jpg"));
}

inline std::vector<uint8_t> JpegFixtureBytes(const std::string& name) { return ReadAll(JpegFixture(name)); }

inline bool UnderCI() {
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
}

#ifndef _WIN32
inline bool HaveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The command's standard output.
inline std::string RunTool(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}
#else
inline bool HaveTool(const std::string&) { return false; }
inline std::string RunTool(const std::string&) { return {}; }
#endif

}  // namespace pk::test

#define PK_REQUIRE_JPEG_FIXTURES() \
  if (!pk::test::HaveJpegFixtures()) GTEST_SKIP() << "generated JPEG fixtures not available"

#define PK_REQUIRE_TOOL(name)                                         \
  do {                                                                \
    if (!pk::test::HaveTool(name)) {                                  \
      if (pk::test::UnderCI()) FAIL() << name << " is missing";       \
      GTEST_SKIP() << name << " not available";                       \
    }                                                                 \
  } while (0)

namespace pk::test {

// Every pixel within tolerance of the reference, in every channel; reports
// the first mismatch only.
inline void ExpectMatchesPnm(const TBitmap& bitmap, const PnmImage& reference, int tolerance) {
  ASSERT_EQ(bitmap.Width(), reference.Width);
  ASSERT_EQ(bitmap.Height(), reference.Height);
  for (int y = 0; y < reference.Height; ++y) {
    for (int x = 0; x < reference.Width; ++x) {
      const TColor c = bitmap.PixelColor(x, y);
      const int ours[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
      for (int ch = 0; ch < 3; ++ch) {
        const int theirs = reference.At(x, y, reference.Channels == 1 ? 0 : ch);
        if (std::abs(ours[ch] - theirs) > tolerance) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << ch << ": " << ours[ch] << " vs "
                        << theirs;
          return;
        }
      }
    }
  }
}

inline void ExpectColourNear(TColor actual, TColor expected, int tolerance) {
  EXPECT_NEAR(GetRValue(actual), GetRValue(expected), tolerance);
  EXPECT_NEAR(GetGValue(actual), GetGValue(expected), tolerance);
  EXPECT_NEAR(GetBValue(actual), GetBValue(expected), tolerance);
}

}  // namespace pk::test
