// BSTR, VARIANT_BOOL and byte-array result conversions of the COM shell; byte
// arrays coming in are read in byte_array_in.cpp.
#include "com_conversions.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "automation/messages.h"
#include "platform/win32_resources.h"
#include "platform/numeric.h"
#include "platform/ole_error.h"

namespace pk::com {

std::u16string FromCom(BSTR text) {
  if (!text) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

BSTR ToCom(std::u16string_view text) {
  BSTR result = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(text.size()));
  if (!result) throw std::bad_alloc();
  return result;
}

void ToComByteArray(std::span<const uint8_t> bytes, VARIANT* out) { PutByteArray(bytes, out); }

}  // namespace pk::com
