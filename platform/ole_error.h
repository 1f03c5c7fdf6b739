// Errors of the component's COM edge. EOleSysError is a failed call into the
// operating system's component services (the ASP Response, the object
// context) and carries the failure code, which the COM shell hands on to its
// client in place of the generic E_UNEXPECTED that every other exception
// becomes. EVariantError is a VARIANT argument that cannot be read as asked.
#pragma once

#include <cstdint>
#include <string>

#include "platform/exceptions.h"

namespace pk {

class EOleSysError : public Exception {
 public:
  EOleSysError(std::u16string message, int32_t error_code)
      : Exception(std::move(message)), error_code_(error_code) {}
  int32_t ErrorCode() const noexcept { return error_code_; }

 private:
  int32_t error_code_;
};

// A VARIANT argument of the wrong kind (not a one-dimensional byte array).
PK_DECLARE_EXCEPTION(EVariantError, Exception);

#ifdef _WIN32
// Raises EOleSysError for a failed HRESULT: the description the callee left
// in the thread's error information, else the system's text for the code.
// Does nothing for a success code.
void CheckOleResult(int32_t result);
#endif

}  // namespace pk
