// The entry point of every test executable. ctest runs each suite through a
// filter; a filter that selects nothing means the suite was compiled out of
// this build, which must not pass as a green run.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (!GTEST_FLAG_GET(list_tests) && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
    std::fprintf(stderr, "no test matches the filter\n");
    return 1;
  }
  return result;
}
