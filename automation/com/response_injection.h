// A private interface of the image object, for tests of StreamToBrowser: it
// has its own interface id, is not in the type library and is not reachable
// through IDispatch, so no script can see it. A test that holds the object
// queries it and hands in a Response IDispatch; from then on the object
// writes to that Response instead of the one of the COM+ object context. A
// null Response returns the object to the context's.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace pk::com {

// {4fc7070b-05fe-4597-9c5e-05f304ace283}
inline constexpr GUID kIidResponseInjection = {
    0x4fc7070b, 0x05fe, 0x4597, {0x9c, 0x5e, 0x05, 0xf3, 0x04, 0xac, 0xe2, 0x83}};

struct IResponseInjection : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE InjectResponse(IDispatch* response) = 0;
};

}  // namespace pk::com
