// The reference text metrics that tests/platform/text/make_fixtures.py writes
// with Pillow: per face, file, pixel size and string, the ascent, descent and
// advance width. Under CI a missing table is a failure, elsewhere a skip.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "tests/support/test_files.h"

namespace pk::test {

struct TextMetricsRow {
  std::string face;  // fontconfig pattern: family, optionally ":bold"
  std::string file;
  int size = 0;
  int ascent = 0;
  int descent = 0;
  int width = 0;
  std::u16string text;
};

inline std::vector<TextMetricsRow> ReadTextMetrics() {
  std::vector<TextMetricsRow> rows;
  const auto path = GeneratedFile("platform/text/metrics.txt");
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    TextMetricsRow row;
    std::string size, ascent, descent, width, text;
    std::getline(fields, row.face, '\t');
    std::getline(fields, row.file, '\t');
    std::getline(fields, size, '\t');
    std::getline(fields, ascent, '\t');
    std::getline(fields, descent, '\t');
    std::getline(fields, width, '\t');
    std::getline(fields, text);
    row.size = std::stoi(size);
    row.ascent = std::stoi(ascent);
    row.descent = std::stoi(descent);
    row.width = std::stoi(width);
    row.text = Utf8ToUtf16(text);
    rows.push_back(row);
  }
  return rows;
}

inline bool RunningUnderCi() {
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
}

}  // namespace pk::test

// Skips the test when the table is missing, except under CI, where it fails.
#define PK_REQUIRE_TEXT_METRICS(rows)                                                    \
  do {                                                                                   \
    if ((rows).empty()) {                                                                \
      if (::pk::test::RunningUnderCi()) FAIL() << "platform/text/metrics.txt missing";   \
      GTEST_SKIP() << "Pillow text metrics not generated";                               \
    }                                                                                    \
  } while (0)
