// The COM object ImageFunctions: IImageFunctions (dual, dispatched through
// the DLL's own type library) and ISupportErrorInfo over one portable
// pk::TImageFunctions. The class itself stays inside its .cpp; the class
// factory only needs this creation function.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace pk::com {

// A new object answering riid, or the failure (E_NOINTERFACE, a type library
// that cannot be loaded, E_OUTOFMEMORY). Never throws.
HRESULT CreateImageFunctions(REFIID riid, void** object) noexcept;

}  // namespace pk::com
