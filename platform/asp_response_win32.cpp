// The Response of the hosting ASP page in the DLL: the COM+ object context of
// the calling thread gives the page's intrinsic objects by name; "Response" is
// driven late-bound through IDispatch, so nothing of the web server's own
// interface declarations is needed. Outside a page (no context, or a context
// without the ASP properties) fetching fails with the same message as in
// builds without a web server, carrying the system's failure code; every
// failing Response call raises EOleSysError with its code and description.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/asp_response_win32.h"

#include "platform/messages.h"
#include "platform/ole_error.h"
#include "platform/win32_resources.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

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

BSTR AllocText(const std::u16string& text) {
  BSTR result = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(text.size()));
  if (!result && !text.empty()) throw std::bad_alloc();
  return result;
}

class TWin32AspResponse final : public IAspResponse {
 public:
  explicit TWin32AspResponse(IDispatch* response) : response_(response) { response_->AddRef(); }

  void AddHeader(const std::u16string& name, const std::u16string& value) override {
    // Arguments go in reverse order.
    UniqueVariants<2> arguments;
    V_VT(&arguments[1]) = VT_BSTR;
    V_BSTR(&arguments[1]) = AllocText(name);
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = AllocText(value);
    CheckOleResult(Call(L"AddHeader", DISPATCH_METHOD, arguments.Data(), 2, nullptr));
  }

  void BinaryWrite(std::span<const uint8_t> bytes) override {
    UniqueVariant argument;
    PutByteArray(bytes, argument.Get());
    CheckOleResult(Call(L"BinaryWrite", DISPATCH_METHOD, argument.Get(), 1, nullptr));
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
      const UniqueBstr source(exception.bstrSource);
      const UniqueBstr help_file(exception.bstrHelpFile);
      const UniqueBstr text(exception.bstrDescription);
      std::u16string description;
      if (text.Get()) {
        description.assign(reinterpret_cast<const char16_t*>(text.Get()), SysStringLen(text.Get()));
      }
      const HRESULT code = exception.scode != 0 ? exception.scode : E_FAIL;
      if (!description.empty()) throw EOleSysError(std::move(description), code);
      return code;
    }
    return outcome;
  }

  bool ReadBoolean(const wchar_t* name) {
    UniqueVariant value;
    VARIANT* result = value.Get();
    CheckOleResult(Call(name, DISPATCH_PROPERTYGET, nullptr, 0, result));
    CheckOleResult(VariantChangeType(result, result, 0, VT_BOOL));
    return V_BOOL(result) != VARIANT_FALSE;
  }

  ComRef<IDispatch> response_;
};

[[noreturn]] void NoPageContext(HRESULT code) {
  throw EOleSysError(msg::kNoAspPageContext, FAILED(code) ? code : E_NOINTERFACE);
}

}  // namespace

std::unique_ptr<IAspResponse> AspResponseOf(IDispatch* response) {
  return std::make_unique<TWin32AspResponse>(response);
}

std::unique_ptr<IAspResponse> CurrentAspResponse() {
  ComRef<IGetContextPropertiesBag> properties;
  HRESULT result = CoGetObjectContext(kIidGetContextProperties, properties.PutVoid());
  if (FAILED(result) || !properties.Get()) NoPageContext(result);
  UniqueVariant value;
  VARIANT* response = value.Get();
  const UniqueBstr name(SysAllocString(L"Response"));
  if (!name.Get()) throw std::bad_alloc();
  result = properties->GetProperty(name.Get(), response);
  if (FAILED(result) || V_VT(response) != VT_DISPATCH || !V_DISPATCH(response)) NoPageContext(result);
  return AspResponseOf(V_DISPATCH(response));
}

}  // namespace pk
