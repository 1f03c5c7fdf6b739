// Small owning wrappers for the OLE resources the shell handles: interface
// pointers, VARIANTs and SAFEARRAYs (with their data lock). Each frees its
// resource on every path, so a conversion that throws half-way leaks nothing;
// an array's Release() hands it over to a VARIANT being returned.
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
