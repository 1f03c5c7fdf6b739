// Owning wrappers for the resources of the Windows edge (Windows builds only):
// COM interface pointers, BSTRs, VARIANTs, SAFEARRAYs with their data lock,
// GDI objects, memory DCs and a scoped SelectObject. Each frees its resource
// on every path, so a call that throws half-way leaks nothing; Release()
// hands a resource over to a caller that takes ownership.
//
// A GDI object must not be deleted while it is selected into a DC (the delete
// fails and the object leaks), so declare a TScopedSelect after the objects
// it selects: it is destroyed first and puts the DC's old object back.
//
// The GDI part is left out of units compiled with NOGDI (the COM shell).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <utility>

#include "platform/numeric.h"
#include "platform/ole_error.h"

namespace pk {

template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(Interface* adopted) noexcept : pointer_(adopted) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    Reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ~ComRef() { Reset(); }

  Interface* Get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  // For out-parameters of COM calls: frees what is held first.
  Interface** Put() noexcept {
    Reset();
    return &pointer_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
  void Reset(Interface* adopted = nullptr) noexcept {
    if (pointer_) pointer_->Release();
    pointer_ = adopted;
  }

 private:
  Interface* pointer_ = nullptr;
};

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR adopted) noexcept : text_(adopted) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { SysFreeString(text_); }

  BSTR Get() const noexcept { return text_; }
  // For out-parameters of COM calls: frees what is held first.
  BSTR* Put() noexcept {
    SysFreeString(std::exchange(text_, nullptr));
    return &text_;
  }

 private:
  BSTR text_ = nullptr;
};

class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&variant_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&variant_); }

  VARIANT* Get() noexcept { return &variant_; }

 private:
  VARIANT variant_;
};

// The VARIANTs of one dispatch call, in one array as DISPPARAMS takes them.
template <size_t Count>
class UniqueVariants {
 public:
  UniqueVariants() noexcept {
    for (VARIANT& value : values_) VariantInit(&value);
  }
  UniqueVariants(const UniqueVariants&) = delete;
  UniqueVariants& operator=(const UniqueVariants&) = delete;
  ~UniqueVariants() {
    for (VARIANT& value : values_) VariantClear(&value);
  }

  VARIANT* Data() noexcept { return values_; }
  VARIANT& operator[](size_t index) noexcept { return values_[index]; }

 private:
  VARIANT values_[Count];
};

class UniqueSafeArray {
 public:
  explicit UniqueSafeArray(SAFEARRAY* adopted) noexcept : array_(adopted) {}
  UniqueSafeArray(const UniqueSafeArray&) = delete;
  UniqueSafeArray& operator=(const UniqueSafeArray&) = delete;
  ~UniqueSafeArray() {
    if (array_) SafeArrayDestroy(array_);
  }

  SAFEARRAY* Get() const noexcept { return array_; }
  SAFEARRAY* Release() noexcept { return std::exchange(array_, nullptr); }

 private:
  SAFEARRAY* array_;
};

// Locks an array's data for the lifetime of the object; a locked-out or
// malformed array raises EOleSysError.
class SafeArrayDataLock {
 public:
  explicit SafeArrayDataLock(SAFEARRAY* array) : array_(array) { CheckOleResult(SafeArrayAccessData(array, &data_)); }
  SafeArrayDataLock(const SafeArrayDataLock&) = delete;
  SafeArrayDataLock& operator=(const SafeArrayDataLock&) = delete;
  ~SafeArrayDataLock() { SafeArrayUnaccessData(array_); }

  void* Data() const noexcept { return data_; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

// Puts a byte array of type VT_ARRAY | VT_UI1 with bounds 1 to the byte count
// (1 to 0 for none) into *out, which the caller has initialised and then owns.
inline void PutByteArray(std::span<const uint8_t> bytes, VARIANT* out) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(CheckedInt32(static_cast<int64_t>(bytes.size()))), 1};
  UniqueSafeArray array(SafeArrayCreate(VT_UI1, 1, &bound));
  if (!array.Get()) throw std::bad_alloc();
  if (!bytes.empty()) {
    const SafeArrayDataLock lock(array.Get());
    std::memcpy(lock.Data(), bytes.data(), bytes.size());
  }
  V_VT(out) = VT_ARRAY | VT_UI1;
  V_ARRAY(out) = array.Release();
}

#ifndef NOGDI

// A GDI object (font, bitmap, brush) deleted with DeleteObject.
template <class Handle>
class UniqueGdiObject {
 public:
  explicit UniqueGdiObject(Handle adopted = nullptr) noexcept : handle_(adopted) {}
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
  ~UniqueGdiObject() {
    if (handle_) DeleteObject(handle_);
  }

  Handle Get() const noexcept { return handle_; }
  Handle Release() noexcept { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_;
};

// A memory DC compatible with the screen; Get() is null when none could be made.
class UniqueMemoryDc {
 public:
  UniqueMemoryDc() noexcept : dc_(CreateCompatibleDC(nullptr)) {}
  UniqueMemoryDc(const UniqueMemoryDc&) = delete;
  UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;
  ~UniqueMemoryDc() {
    if (dc_) DeleteDC(dc_);
  }

  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back on destruction.
class TScopedSelect {
 public:
  TScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  TScopedSelect(const TScopedSelect&) = delete;
  TScopedSelect& operator=(const TScopedSelect&) = delete;
  ~TScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

#endif  // NOGDI

}  // namespace pk
