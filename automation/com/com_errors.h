// How failures cross the COM boundary. Every member body runs inside
// CallGuarded (or its direct-result twin in the object), which catches every
// C++ exception: the member returns E_UNEXPECTED, or the code that an
// EOleSysError carries, and the thread's error information gets the message as
// description, "PixmarlKit.ImageFunctions" as source and the interface's IID;
// a success clears the error information, so a script never sees a stale one.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

namespace pk::com {

struct ComFailure {
  HRESULT code = E_UNEXPECTED;
  std::u16string description;
};

// Describes the exception being handled; call only inside a catch block.
// Never throws: without memory for the text the description stays empty.
ComFailure DescribeCurrentException() noexcept;

void SetErrorInfoFor(const ComFailure& failure) noexcept;
void ClearErrorInfo() noexcept;
// Fills a dispatch caller's EXCEPINFO. What it held is overwritten unread:
// the caller's structure is uninitialised unless the dispatcher filled it, in
// which case free those strings first with ClearExcepInfo.
void FillExcepInfo(const ComFailure& failure, EXCEPINFO* info) noexcept;
// Frees the strings of an EXCEPINFO that the dispatcher filled.
void ClearExcepInfo(EXCEPINFO* info) noexcept;

// Runs body; reports a failure through the error information and, when given,
// keeps it in *last (for IDispatch::Invoke).
template <class Body>
HRESULT CallGuarded(Body&& body, std::optional<ComFailure>* last = nullptr) noexcept {
  try {
    body();
    ClearErrorInfo();
    return S_OK;
  } catch (...) {
    ComFailure failure = DescribeCurrentException();
    SetErrorInfoFor(failure);
    HRESULT code = failure.code;
    if (last) *last = std::move(failure);
    return code;
  }
}

}  // namespace pk::com
