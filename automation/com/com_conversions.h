// The conversions between COM's automation types and the portable object's
// C++ types, done here at the edge only: BSTR and std::u16string,
// VARIANT_BOOL and bool, the type library's enumerations and pk's, and VARIANT
// byte arrays and byte vectors. FromCom* read a client's argument, ToCom*
// build a result the caller will own.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "PixmarlKit.h"
#include "automation/automation_types.h"

namespace pk::com {

// A null BSTR is the empty text.
std::u16string FromCom(BSTR text);
inline bool FromCom(VARIANT_BOOL value) { return value != VARIANT_FALSE; }  // any non-zero is True
inline int32_t FromCom(LONG value) { return value; }
inline pk::TxowMode FromCom(::TxowMode value) { return static_cast<pk::TxowMode>(value); }
inline pk::TxCompressionType FromCom(::TxCompressionType value) { return static_cast<pk::TxCompressionType>(value); }
inline pk::TxJustifyType FromCom(::TxJustifyType value) { return static_cast<pk::TxJustifyType>(value); }
// The bytes of a one-dimensional array of bytes (VT_UI1 or VT_I1) from its
// lower to its upper bound, whatever the lower bound; references (VT_BYREF,
// and VT_BYREF | VT_VARIANT as script engines pass variables) are followed.
// Raises EVariantError for anything else: an array of VARIANTs, several
// dimensions, a null array, Empty, Null, a string.
std::vector<uint8_t> FromCom(const VARIANT& bytes);

// Raises std::bad_alloc when the system has no memory for the string.
BSTR ToCom(std::u16string_view text);
inline VARIANT_BOOL ToCom(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
inline ::TxowMode ToCom(pk::TxowMode value) { return static_cast<::TxowMode>(value); }
inline ::TxCompressionType ToCom(pk::TxCompressionType value) { return static_cast<::TxCompressionType>(value); }
inline ::TxJustifyType ToCom(pk::TxJustifyType value) { return static_cast<::TxJustifyType>(value); }

// A byte array of type VT_ARRAY | VT_UI1 with bounds 1 to the byte count,
// moved into *out (which the caller has initialised).
void ToComByteArray(std::span<const uint8_t> bytes, VARIANT* out);

}  // namespace pk::com
