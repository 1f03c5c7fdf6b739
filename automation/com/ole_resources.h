// Small owning wrappers for the OLE resources the shell handles: interface
// pointers, BSTRs, VARIANTs and SAFEARRAYs (with their data lock). Each frees
// its resource on every path, so a conversion that throws half-way leaks
// nothing; Release() hands ownership to a COM out-parameter.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace pk::com {

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
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  // For out-parameters of COM calls: frees what is held first.
  Interface** Put() noexcept {
    Reset();
    return &pointer_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
  Interface* Release() noexcept { return std::exchange(pointer_, nullptr); }
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
  explicit UniqueBstr(BSTR adopted) noexcept : bstr_(adopted) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  ~UniqueBstr() { SysFreeString(bstr_); }

  BSTR Get() const noexcept { return bstr_; }
  BSTR* Put() noexcept {
    SysFreeString(std::exchange(bstr_, nullptr));
    return &bstr_;
  }
  BSTR Release() noexcept { return std::exchange(bstr_, nullptr); }

 private:
  BSTR bstr_ = nullptr;
};

class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&variant_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&variant_); }

  VARIANT* Get() noexcept { return &variant_; }
  // Moves the value into a caller's VARIANT (which must be empty or cleared).
  void Release(VARIANT* out) noexcept {
    *out = variant_;
    VariantInit(&variant_);
  }

 private:
  VARIANT variant_;
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

// Locks an array's data for the lifetime of the object.
class SafeArrayDataLock {
 public:
  explicit SafeArrayDataLock(SAFEARRAY* array);
  SafeArrayDataLock(const SafeArrayDataLock&) = delete;
  SafeArrayDataLock& operator=(const SafeArrayDataLock&) = delete;
  ~SafeArrayDataLock() { SafeArrayUnaccessData(array_); }

  void* Data() const noexcept { return data_; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

}  // namespace pk::com
