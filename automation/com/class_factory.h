// The class factory of ImageFunctions: multi-instance, every CreateInstance
// makes a new, independent object. Handed out by DllGetClassObject.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace pk::com {

HRESULT GetImageFunctionsFactory(REFIID riid, void** factory) noexcept;

}  // namespace pk::com
