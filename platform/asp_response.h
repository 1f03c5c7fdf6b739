// The Response object of the ASP page that hosts the component: the five
// operations the component uses to stream an image into the page's body. In
// the DLL it is fetched from the COM+ object context; elsewhere there is no
// page, and fetching it raises the same error a call outside a page gets.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace pk {

class IAspResponse {
 public:
  virtual ~IAspResponse() = default;
  virtual void AddHeader(const std::u16string& name, const std::u16string& value) = 0;
  virtual void BinaryWrite(std::span<const uint8_t> bytes) = 0;
  virtual bool Buffer() = 0;
  virtual void Flush() = 0;
  virtual bool IsClientConnected() = 0;
};

// The Response of the current page; raises when the caller is not inside an
// ASP page.
std::unique_ptr<IAspResponse> CurrentAspResponse();

}  // namespace pk
