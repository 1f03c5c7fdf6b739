// ExpectRaises: the action raises exactly the exception class given, with
// exactly the message a script client would read.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace pk::test {

template <typename E, typename F>
void ExpectRaises(F&& action, const std::u16string& message) {
  try {
    action();
    ADD_FAILURE() << "nothing raised";
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace pk::test
