// Byte arrays as clients pass them in: a one-dimensional SAFEARRAY of bytes
// (VT_UI1 or VT_I1, one byte an element), directly or behind references, read
// under SafeArrayAccessData. Everything else is refused with one message
// rather than guessed at: an array of VARIANTs (what a VBScript Array() is)
// or of wider elements would otherwise be read as raw bytes of its storage,
// and a second dimension would be silently ignored.
#include <cstring>

#include "automation/messages.h"
#include "com_conversions.h"
#include "platform/ole_error.h"
#include "platform/win32_resources.h"

namespace pk::com {
namespace {

[[noreturn]] void NotAByteArray() { throw EVariantError(msg::kVariantNotByteArray); }

// Follows VT_BYREF | VT_VARIANT chains down to the value.
const VARIANT& Dereference(const VARIANT& value) {
  const VARIANT* current = &value;
  while (V_VT(current) == (VT_BYREF | VT_VARIANT)) {
    if (!V_VARIANTREF(current)) NotAByteArray();
    current = V_VARIANTREF(current);
  }
  return *current;
}

SAFEARRAY* ByteArrayOf(const VARIANT& value) {
  const VARTYPE type = V_VT(&value) & ~VT_BYREF;
  if (type != (VT_ARRAY | VT_UI1) && type != (VT_ARRAY | VT_I1)) NotAByteArray();
  SAFEARRAY* array = (V_VT(&value) & VT_BYREF) ? (V_ARRAYREF(&value) ? *V_ARRAYREF(&value) : nullptr)
                                                 : V_ARRAY(&value);
  if (!array || SafeArrayGetDim(array) != 1 || SafeArrayGetElemsize(array) != 1) NotAByteArray();
  return array;
}

}  // namespace

std::vector<uint8_t> FromCom(const VARIANT& bytes) {
  SAFEARRAY* array = ByteArrayOf(Dereference(bytes));
  LONG low = 0;
  LONG high = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high))) NotAByteArray();
  const int64_t count = int64_t{high} - low + 1;
  std::vector<uint8_t> result(count > 0 ? static_cast<size_t>(count) : 0);
  const SafeArrayDataLock lock(array);
  if (!result.empty()) std::memcpy(result.data(), lock.Data(), result.size());
  return result;
}

}  // namespace pk::com
