// Self-registration of the server: the class, its ProgID and the type
// library, either for the whole machine (HKEY_CLASSES_ROOT, what regsvr32 and
// DllRegisterServer do) or for the current user only (HKCU\Software\Classes,
// DllInstall with the command line "user"), which needs no administrator.
#pragma once

#include <windows.h>

namespace pk::com {

enum class RegistrationScope { kMachine, kUser };

// Both undo what they can on every path and report the first failure.
HRESULT RegisterServer(RegistrationScope scope) noexcept;
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

}  // namespace pk::com
