// Process-wide state of the DLL: its module handle (stored by DllMain and used
// to find the file that carries the type library) and the counts of live
// objects and server locks that DllCanUnloadNow answers from. Counters are
// atomic because the class is registered with threading model Both.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

namespace pk::com {

void SetModuleHandle(HINSTANCE module) noexcept;
HINSTANCE ModuleHandle() noexcept;
// Full path of this DLL, as registration and LoadTypeLibEx need it.
std::wstring ModulePath();

void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockServer(bool lock) noexcept;
bool CanUnload() noexcept;

// Reference counting for the server's objects (the class factory and
// ImageFunctions): each counts as a live object until its last Release.
class RefCountedObject {
 public:
  RefCountedObject(const RefCountedObject&) = delete;
  RefCountedObject& operator=(const RefCountedObject&) = delete;

 protected:
  RefCountedObject() noexcept { ObjectCreated(); }
  virtual ~RefCountedObject() { ObjectDestroyed(); }
  ULONG AddReference() noexcept { return ++references_; }
  ULONG ReleaseReference() noexcept {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace pk::com
