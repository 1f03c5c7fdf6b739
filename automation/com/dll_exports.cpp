// The DLL's entry point and its five exports (listed undecorated in
// PixmarlKit.def). DllMain only keeps the module handle: everything else waits
// for the first call, as the loader lock allows nothing more.
#include <windows.h>

#include "PixmarlKit.h"
#include "class_factory.h"
#include "module.h"
#include "registration.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) pk::com::SetModuleHandle(module);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_ImageFunctions) return CLASS_E_CLASSNOTAVAILABLE;
  return pk::com::GetImageFunctionsFactory(riid, object);
}

STDAPI DllCanUnloadNow() { return pk::com::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return pk::com::RegisterServer(pk::com::RegistrationScope::kMachine); }

STDAPI DllUnregisterServer() { return pk::com::UnregisterServer(pk::com::RegistrationScope::kMachine); }

// "user" (any case) registers for the current user only; any other command
// line for the machine, as DllRegisterServer does.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  auto scope = command_line && lstrcmpiW(command_line, L"user") == 0 ? pk::com::RegistrationScope::kUser
                                                                     : pk::com::RegistrationScope::kMachine;
  return install ? pk::com::RegisterServer(scope) : pk::com::UnregisterServer(scope);
}

}  // extern "C"
