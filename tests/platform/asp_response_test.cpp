// Outside an ASP page there is no Response: asking for it fails with the same
// message in every build; in the DLL the failure also carries the system's
// code for the missing context, which the COM shell hands to the client.
#include "platform/asp_response.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/ole_error.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library's configuration may have set it
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#endif

namespace pk {
namespace {

TEST(AspResponse, OutsideAPageTheResponseIsMissing) {
#ifdef _WIN32
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
#endif
  try {
    CurrentAspResponse();
    ADD_FAILURE() << "a Response outside a page";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), msg::kNoAspPageContext);
#ifdef _WIN32
    const auto* ole = dynamic_cast<const EOleSysError*>(&error);
    ASSERT_NE(ole, nullptr);
    EXPECT_LT(ole->ErrorCode(), 0) << "a failure code";
#endif
  }
#ifdef _WIN32
  CoUninitialize();
#endif
}

}  // namespace
}  // namespace pk
