// ImageFunctionsFactory: a stateless IClassFactory. Its instances count as
// live objects, so the DLL stays loaded while a client holds one.
#include "class_factory.h"

#include <new>

#include "image_functions_object.h"
#include "module.h"

namespace pk::com {
namespace {

class ImageFunctionsFactory final : public IClassFactory, private RefCountedObject {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseReference(); }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateImageFunctions(riid, object);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    pk::com::LockServer(lock != FALSE);
    return S_OK;
  }
};

}  // namespace

HRESULT GetImageFunctionsFactory(REFIID riid, void** factory) noexcept {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  auto* created = new (std::nothrow) ImageFunctionsFactory();
  if (!created) return E_OUTOFMEMORY;
  HRESULT result = created->QueryInterface(riid, factory);
  created->Release();
  return result;
}

}  // namespace pk::com
