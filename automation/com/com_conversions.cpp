// BSTR, VARIANT_BOOL and VARIANT byte-array conversions of the COM shell.
// Arrays from script engines arrive as references and, from VBScript, often
// as arrays of VARIANTs; both are accepted, every element of a VARIANT array
// converted to a byte, instead of copying the raw VARIANT structures.
#include "com_conversions.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "automation/messages.h"
#include "platform/win32_resources.h"
#include "platform/numeric.h"
#include "platform/ole_error.h"

namespace pk::com {
namespace {

// Follows VT_BYREF chains down to the value.
const VARIANT& Dereference(const VARIANT& value) {
  const VARIANT* current = &value;
  while (V_VT(current) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(current)) current = V_VARIANTREF(current);
  return *current;
}

SAFEARRAY* ArrayOf(const VARIANT& value) {
  if (!(V_VT(&value) & VT_ARRAY)) throw EVariantError(msg::kVariantNotArray);
  SAFEARRAY* array = (V_VT(&value) & VT_BYREF) ? (V_ARRAYREF(&value) ? *V_ARRAYREF(&value) : nullptr)
                                                 : V_ARRAY(&value);
  if (!array) throw EVariantError(msg::kVariantNotArray);
  return array;
}

// Elements from the lower to the upper bound of dimension 1.
size_t FirstDimensionCount(SAFEARRAY* array) {
  if (SafeArrayGetDim(array) < 1) return 0;
  LONG low = 0;
  LONG high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  int64_t count = int64_t{high} - low + 1;
  return count > 0 ? static_cast<size_t>(count) : 0;
}

uint8_t ElementByte(const VARIANT& element) {
  UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.Get(), const_cast<VARIANT*>(&element), 0, VT_UI1))) {
    throw EVariantError(msg::kVariantElementNotByte);
  }
  return V_UI1(converted.Get());
}

}  // namespace

std::u16string FromCom(BSTR text) {
  if (!text) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

std::vector<uint8_t> FromCom(const VARIANT& bytes) {
  SAFEARRAY* array = ArrayOf(Dereference(bytes));
  size_t count = FirstDimensionCount(array);
  VARTYPE element_type = VT_EMPTY;
  SafeArrayGetVartype(array, &element_type);
  SafeArrayDataLock lock(array);
  std::vector<uint8_t> result(count);
  if (element_type == VT_VARIANT) {
    const auto* elements = static_cast<const VARIANT*>(lock.Data());
    for (size_t i = 0; i < count; ++i) result[i] = ElementByte(elements[i]);
  } else if (count != 0) {
    // Any other element type is taken as raw bytes, as many as dimension 1
    // counts, never more than the array holds.
    int64_t available = CheckedMul(SafeArrayGetElemsize(array), static_cast<int64_t>(count));
    std::memcpy(result.data(), lock.Data(), static_cast<size_t>(std::min<int64_t>(count, available)));
  }
  return result;
}

BSTR ToCom(std::u16string_view text) {
  BSTR result = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(text.size()));
  if (!result) throw std::bad_alloc();
  return result;
}

void ToComByteArray(std::span<const uint8_t> bytes, VARIANT* out) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(CheckedInt32(static_cast<int64_t>(bytes.size()))), 1};
  UniqueSafeArray array(SafeArrayCreate(VT_UI1, 1, &bound));
  if (!array.Get()) throw std::bad_alloc();
  if (!bytes.empty()) {
    SafeArrayDataLock lock(array.Get());
    std::memcpy(lock.Data(), bytes.data(), bytes.size());
  }
  V_VT(out) = VT_ARRAY | VT_UI1;
  V_ARRAY(out) = array.Release();
}

}  // namespace pk::com
