// Replays every input a fuzz target once failed on (regressions/<target>/*)
// through the target's entry, in every build of the suite: the entry aborts
// when a rule breaks again, and an escaping exception fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "tests/support/test_files.h"

namespace pk::fuzz {
namespace {

std::filesystem::path RegressionsRoot() { return PIXMARL_FUZZ_REGRESSIONS; }

std::vector<std::filesystem::path> KeptInputs(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> inputs;
  if (!std::filesystem::is_directory(folder)) return inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::ranges::sort(inputs);
  return inputs;
}

TEST(FuzzRegressions, EveryKeptInputPassesItsTarget) {
  for (const TFuzzTarget& target : FuzzTargets()) {
    for (const auto& input : KeptInputs(RegressionsRoot() / std::string(target.name))) {
      SCOPED_TRACE(input.string());
      const std::vector<uint8_t> bytes = test::ReadAll(input);
      EXPECT_NO_THROW(target.entry(bytes));
    }
  }
}

TEST(FuzzRegressions, EveryFolderNamesATarget) {
  ASSERT_TRUE(std::filesystem::is_directory(RegressionsRoot()));
  for (const auto& entry : std::filesystem::directory_iterator(RegressionsRoot())) {
    EXPECT_NE(FindFuzzTarget(entry.path().filename().string()), nullptr) << entry.path();
  }
}

}  // namespace
}  // namespace pk::fuzz
