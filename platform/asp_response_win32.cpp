// The Response of the hosting ASP page in the DLL: the COM+ object context of
// the calling thread gives the page's intrinsic objects by name; "Response" is
// driven late-bound through IDispatch, so nothing of the web server's own
// interface declarations is needed. Outside a page (no context, or a context
// without the ASP properties) fetching fails with the same message as in
// builds without a web server, carrying the system's failure code; every
// failing Response call raises EOleSysError with its code and description.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/asp_response.h"

#include "platform/messages.h"
#include "platform/ole_error.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <array>
#include <cstring>
#include <new>

namespace pk {
namespace {

// The object context's property bag (COM+ component services).
struct IGetContextPropertiesBag : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Count(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProperty(BSTR name, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumNames(IUnknown** names) = 0;
};
constexpr GUID kIidGetContextProperties = {
    0x51372af4, 0xcae7, 0x11cf, {0xbe, 0x81, 0x00, 0xaa, 0x00, 0xa2, 0xfa, 0x25}};

template <class Interface>
class TComRef {
 public:
  TComRef() = default;
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  ~TComRef() {
    if (pointer_) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  void** Put() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// VARIANTs of one dispatch call (arguments or a result), cleared on every path.
template <size_t Count>
struct TVariants {
  std::array<VARIANT, Count> values{};
  TVariants() {
    for (VARIANT& value : values) VariantInit(&value);
  }
  TVariants(const TVariants&) = delete;
  TVariants& operator=(const TVariants&) = delete;
  ~TVariants() {
    for (VARIANT& value : values) VariantClear(&value);
  }
};


BSTR AllocText(const std::u16string& text) {
  BSTR result = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(text.size()));
  if (!result && !text.empty()) throw std::bad_alloc();
  return result;
}

class TWin32AspResponse final : public IAspResponse {
 public:
  explicit TWin32AspResponse(IDispatch* response) : response_(response) { response_->AddRef(); }
  ~TWin32AspResponse() override { response_->Release(); }

  void AddHeader(const std::u16string& name, const std::u16string& value) override {
    // Arguments go in reverse order.
    TVariants<2> arguments;
    V_VT(&arguments.values[1]) = VT_BSTR;
    V_BSTR(&arguments.values[1]) = AllocText(name);
    V_VT(&arguments.values[0]) = VT_BSTR;
    V_BSTR(&arguments.values[0]) = AllocText(value);
    CheckOleResult(Call(L"AddHeader", DISPATCH_METHOD, arguments.values.data(), 2, nullptr));
  }

  void BinaryWrite(std::span<const uint8_t> bytes) override {
    SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), 1};
    TVariants<1> argument;
    V_ARRAY(&argument.values[0]) = SafeArrayCreate(VT_UI1, 1, &bound);
    if (!V_ARRAY(&argument.values[0])) throw std::bad_alloc();
    V_VT(&argument.values[0]) = VT_ARRAY | VT_UI1;
    void* data = nullptr;
    CheckOleResult(SafeArrayAccessData(V_ARRAY(&argument.values[0]), &data));
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(V_ARRAY(&argument.values[0]));
    CheckOleResult(Call(L"BinaryWrite", DISPATCH_METHOD, argument.values.data(), 1, nullptr));
  }

  bool Buffer() override { return ReadBoolean(L"Buffer"); }

  void Flush() override { CheckOleResult(Call(L"Flush", DISPATCH_METHOD, nullptr, 0, nullptr)); }

  bool IsClientConnected() override { return ReadBoolean(L"IsClientConnected"); }

 private:
  HRESULT Call(const wchar_t* name, WORD kind, VARIANT* arguments, UINT count, VARIANT* result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT outcome = response_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(outcome)) return outcome;
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    EXCEPINFO exception{};
    outcome = response_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception, nullptr);
    if (outcome == DISP_E_EXCEPTION) {
      std::u16string description;
      if (exception.bstrDescription) {
        description.assign(reinterpret_cast<const char16_t*>(exception.bstrDescription),
                           SysStringLen(exception.bstrDescription));
      }
      const HRESULT code = exception.scode != 0 ? exception.scode : E_FAIL;
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrHelpFile);
      if (!description.empty()) throw EOleSysError(std::move(description), code);
      return code;
    }
    return outcome;
  }

  bool ReadBoolean(const wchar_t* name) {
    TVariants<1> value;
    VARIANT* result = &value.values[0];
    CheckOleResult(Call(name, DISPATCH_PROPERTYGET, nullptr, 0, result));
    CheckOleResult(VariantChangeType(result, result, 0, VT_BOOL));
    return V_BOOL(result) != VARIANT_FALSE;
  }

  IDispatch* response_;
};

[[noreturn]] void NoPageContext(HRESULT code) {
  throw EOleSysError(msg::kNoAspPageContext, FAILED(code) ? code : E_NOINTERFACE);
}

}  // namespace

std::unique_ptr<IAspResponse> CurrentAspResponse() {
  TComRef<IGetContextPropertiesBag> properties;
  HRESULT result = CoGetObjectContext(kIidGetContextProperties, properties.Put());
  if (FAILED(result) || !properties.Get()) NoPageContext(result);
  TVariants<1> value;
  VARIANT* response = &value.values[0];
  BSTR name = SysAllocString(L"Response");
  result = properties->GetProperty(name, response);
  SysFreeString(name);
  if (FAILED(result) || V_VT(response) != VT_DISPATCH || !V_DISPATCH(response)) NoPageContext(result);
  return std::make_unique<TWin32AspResponse>(V_DISPATCH(response));
}

}  // namespace pk
