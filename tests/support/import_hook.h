// Redirects one function a loaded module imports (Windows builds only), so a
// test can watch the calls a statically linked component or a DLL makes to
// the system: the module's import-table slot that holds the function's
// address is pointed at a replacement, and put back when the hook goes.
#pragma once

#include <windows.h>

namespace pk::test {

class TImportHook {
 public:
  // module: whose imports to patch; dll and name: the function imported.
  TImportHook(HMODULE module, const wchar_t* dll, const char* name, void* replacement) {
    original_ = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(dll), name));
    if (original_) slot_ = FindSlot(module, original_);
    if (slot_) Write(replacement);
  }
  ~TImportHook() {
    if (slot_) Write(original_);
  }
  TImportHook(const TImportHook&) = delete;
  TImportHook& operator=(const TImportHook&) = delete;

  bool Installed() const { return slot_ != nullptr; }
  // The system's own function, for the replacement to call on.
  template <class Function>
  Function Original() const {
    return reinterpret_cast<Function>(original_);
  }

 private:
  static ULONG_PTR* FindSlot(HMODULE module, void* function) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; library->Name != 0; ++library) {
      for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk); slot->u1.Function; ++slot) {
        if (reinterpret_cast<void*>(slot->u1.Function) == function) return &slot->u1.Function;
      }
    }
    return nullptr;
  }

  void Write(void* function) {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
    *slot_ = reinterpret_cast<ULONG_PTR>(function);
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
  }

  void* original_ = nullptr;
  ULONG_PTR* slot_ = nullptr;
};

}  // namespace pk::test
