// ImageFunctionsObject: the COM shell of pk::TImageFunctions. Each member of
// IImageFunctions is one line that converts its arguments at the edge
// (FromCom), calls the portable member and converts the result (ToCom);
// Call, Read and Direct wrap every body so that no C++ exception crosses the
// boundary (see com_errors.h).
//
// IDispatch goes through the type library loaded from this DLL (DispInvoke),
// so scripts get the library's argument coercions. Invoke keeps the failure of
// the member it ran: a direct-result member (no HRESULT to fail with) and any
// other failing member reach the script as DISP_E_EXCEPTION with the message,
// whatever the type-library dispatcher made of the return value.
//
// Besides, the object answers the private IResponseInjection (tests only; see
// response_injection.h).
#include "image_functions_object.h"

#include <oleauto.h>

#include <memory>
#include <new>
#include <optional>

#include "PixmarlKit.h"
#include "automation/image_functions.h"
#include "com_conversions.h"
#include "com_errors.h"
#include "module.h"
#include "platform/asp_response_win32.h"
#include "platform/win32_resources.h"
#include "response_injection.h"

namespace pk::com {
namespace {

void Store(int32_t value, LONG* out) { *out = value; }
void Store(bool value, VARIANT_BOOL* out) { *out = ToCom(value); }
void Store(const std::u16string& value, BSTR* out) { *out = ToCom(value); }
void Store(const std::vector<uint8_t>& value, VARIANT* out) { ToComByteArray(value, out); }
template <class Enum, class ComEnum>
void Store(Enum value, ComEnum* out) {
  *out = ToCom(value);
}

// One member of the interface: a method or property that returns an HRESULT.
#define PK_COM_CALL(body) return Call([&] { body; })
#define PK_COM_GET(Name, ComType) \
  STDMETHODIMP get_##Name(ComType* Value) override { return Read(Value, [&] { return core_.Name(); }); }
#define PK_COM_PUT(Name, ComType) \
  STDMETHODIMP put_##Name(ComType Value) override { PK_COM_CALL(core_.Set##Name(FromCom(Value))); }
#define PK_COM_PROPERTY(Name, ComType) PK_COM_GET(Name, ComType) PK_COM_PUT(Name, ComType)

// The object context's Response, or the injected one (the source holds a
// reference to it for as long as it is set).
TImageFunctions::TResponseSource InjectedResponse(IDispatch* response) {
  if (!response) return CurrentAspResponse;
  response->AddRef();
  auto held = std::make_shared<ComRef<IDispatch>>(response);
  return [held] { return AspResponseOf(held->Get()); };
}

class ImageFunctionsObject final : public IImageFunctions,
                                   public ISupportErrorInfo,
                                   public IResponseInjection,
                                   private RefCountedObject {
 public:
  explicit ImageFunctionsObject(ComRef<ITypeInfo> type_info) : type_info_(std::move(type_info)) {}

  // --- IUnknown -------------------------------------------------------------
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IImageFunctions) {
      *object = static_cast<IImageFunctions*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else if (riid == kIidResponseInjection) {
      *object = static_cast<IResponseInjection*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseReference(); }

  // --- IDispatch ------------------------------------------------------------
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    type_info_->AddRef();
    *info = type_info_.Get();
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(type_info_.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argument_error) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    last_failure_.reset();
    HRESULT outcome = DispInvoke(static_cast<IImageFunctions*>(this), type_info_.Get(), member, flags, params,
                                 result, exception, argument_error);
    if (!last_failure_) return outcome;
    if (result) VariantClear(result);
    // Only a dispatcher that reports an exception has filled the EXCEPINFO; a
    // direct-result member's failure arrives with a success code, and the
    // caller's structure then holds whatever it held (nothing to free).
    if (outcome == DISP_E_EXCEPTION) ClearExcepInfo(exception);
    FillExcepInfo(*last_failure_, exception);
    // The dispatcher may have consumed the error information; a caller that
    // asks for it after Invoke still finds it.
    SetErrorInfoFor(*last_failure_);
    last_failure_.reset();
    return DISP_E_EXCEPTION;
  }

  // --- ISupportErrorInfo ----------------------------------------------------
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_IImageFunctions ? S_OK : S_FALSE;
  }

  // --- IResponseInjection ---------------------------------------------------
  STDMETHODIMP InjectResponse(IDispatch* response) override {
    PK_COM_CALL(core_.SetResponseSource(InjectedResponse(response)));
  }

  // --- IImageFunctions: methods (dispids 201 to 236) ------------------------
  STDMETHODIMP ReadFile(BSTR Filename) override { PK_COM_CALL(core_.ReadFile(FromCom(Filename))); }
  STDMETHODIMP WriteFile(BSTR Filename) override { PK_COM_CALL(core_.WriteFile(FromCom(Filename))); }
  STDMETHODIMP get_DPMtoDPI(LONG DPM, LONG* Value) override {
    return Read(Value, [&] { return core_.DPMtoDPI(DPM); });
  }
  STDMETHODIMP get_DPItoDPM(LONG DPI, LONG* Value) override {
    return Read(Value, [&] { return core_.DPItoDPM(DPI); });
  }
  STDMETHODIMP ConvertToBW() override { PK_COM_CALL(core_.ConvertToBW()); }
  STDMETHODIMP StreamToBrowser(BSTR ImgType) override { PK_COM_CALL(core_.StreamToBrowser(FromCom(ImgType))); }
  STDMETHODIMP get_VariantOut(BSTR ImgType, VARIANT* Value) override {
    return Read(Value, [&] { return core_.VariantOut(FromCom(ImgType)); });
  }
  STDMETHODIMP Rotate(float Angle) override { PK_COM_CALL(core_.Rotate(Angle)); }
  STDMETHODIMP Base64In(BSTR Input) override { PK_COM_CALL(core_.Base64In(FromCom(Input))); }
  STDMETHODIMP ClearAlpha() override { PK_COM_CALL(core_.ClearAlpha()); }
  STDMETHODIMP CombineAlphaWithBG() override { PK_COM_CALL(core_.CombineAlphaWithBG()); }
  STDMETHODIMP Crop(LONG X1, LONG Y1, LONG X2, LONG Y2) override { PK_COM_CALL(core_.Crop(X1, Y1, X2, Y2)); }
  STDMETHODIMP FlipX() override { PK_COM_CALL(core_.FlipX()); }
  STDMETHODIMP FlipY() override { PK_COM_CALL(core_.FlipY()); }
  STDMETHODIMP GetDimensions(BSTR Filename) override { PK_COM_CALL(core_.GetDimensions(FromCom(Filename))); }
  STDMETHODIMP GetDimensionsBin(VARIANT Filestream) override {
    PK_COM_CALL(core_.GetDimensionsBin(FromCom(Filestream)));
  }
  STDMETHODIMP Grayscale() override { PK_COM_CALL(core_.Grayscale()); }
  STDMETHODIMP Invert() override { PK_COM_CALL(core_.Invert()); }
  STDMETHODIMP get_PaletteEntry(LONG Index, BSTR* Value) override {
    return Read(Value, [&] { return core_.PaletteEntry(Index); });
  }
  STDMETHODIMP put_PaletteEntry(LONG Index, BSTR Value) override {
    PK_COM_CALL(core_.SetPaletteEntry(Index, FromCom(Value)));
  }
  PK_COM_GET(PaletteSize, LONG)
  STDMETHODIMP_(LONG) ColorIndex(BSTR Colour) override {
    return Direct(-1, [&] { return core_.ColorIndex(FromCom(Colour)); });
  }
  STDMETHODIMP_(LONG) FindUnusedColor() override {
    return Direct(-1, [&] { return core_.FindUnusedColor(); });
  }
  STDMETHODIMP_(BSTR) OLEColorToStr(LONG Color) override {
    return Direct(BSTR{}, [&] { return ToCom(core_.OLEColorToStr(Color)); });
  }
  STDMETHODIMP_(LONG) StrToOLEColor(BSTR Colour) override {
    return Direct(-1, [&] { return core_.StrToOLEColor(FromCom(Colour)); });
  }
  STDMETHODIMP MergeBack(BSTR Foreground, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeBack(FromCom(Foreground), X, Y));
  }
  STDMETHODIMP MergeBackBin(VARIANT Foreground, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeBackBin(FromCom(Foreground), X, Y));
  }
  STDMETHODIMP MergeBackHDC(LONG Foreground, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeBackHDC(Foreground, X, Y));
  }
  STDMETHODIMP MergeFront(BSTR Background, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeFront(FromCom(Background), X, Y));
  }
  STDMETHODIMP MergeFrontBin(VARIANT Background, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeFrontBin(FromCom(Background), X, Y));
  }
  STDMETHODIMP MergeFrontHDC(LONG Handle, LONG X, LONG Y) override {
    PK_COM_CALL(core_.MergeFrontHDC(Handle, X, Y));
  }
  STDMETHODIMP NewImage(LONG Width, LONG Height, BSTR Colour) override {
    PK_COM_CALL(core_.NewImage(Width, Height, FromCom(Colour)));
  }
  STDMETHODIMP ReadVariant(VARIANT ImgData) override { PK_COM_CALL(core_.ReadVariant(FromCom(ImgData))); }
  STDMETHODIMP Resize(LONG Xnew, LONG Ynew) override { PK_COM_CALL(core_.Resize(Xnew, Ynew)); }
  STDMETHODIMP ResizeFit(LONG MaxWidth, LONG MaxHeight) override {
    PK_COM_CALL(core_.ResizeFit(MaxWidth, MaxHeight));
  }
  STDMETHODIMP Scale(LONG Factor) override { PK_COM_CALL(core_.Scale(Factor)); }
  STDMETHODIMP Text(LONG X, LONG Y, BSTR TextOut) override { PK_COM_CALL(core_.Text(X, Y, FromCom(TextOut))); }

  // --- IImageFunctions: properties (dispids 237 to 286) and 287 -------------
  PK_COM_PROPERTY(Antialias, VARIANT_BOOL)
  PK_COM_PROPERTY(BackgroundColor, BSTR)
  PK_COM_PROPERTY(BMPHandle, LONG)
  PK_COM_PROPERTY(ColorDepth, LONG)
  PK_COM_PROPERTY(CompressionType, ::TxCompressionType)
  PK_COM_PROPERTY(XDPI, LONG)
  PK_COM_PROPERTY(YDPI, LONG)
  PK_COM_PROPERTY(ExtraAlphaValue, LONG)
  PK_COM_GET(Filename, BSTR)
  PK_COM_GET(FileSize, LONG)
  PK_COM_GET(HasAlpha, VARIANT_BOOL)
  PK_COM_GET(HasBackground, VARIANT_BOOL)
  PK_COM_GET(Height, LONG)
  PK_COM_GET(Width, LONG)
  PK_COM_PROPERTY(IgnoreInputFileType, VARIANT_BOOL)
  PK_COM_PROPERTY(JpegGrayscale, VARIANT_BOOL)
  PK_COM_PROPERTY(JpegHigherSpeed, VARIANT_BOOL)
  PK_COM_PROPERTY(JpegQuality, LONG)
  PK_COM_PROPERTY(KeepAlpha, VARIANT_BOOL)
  STDMETHODIMP get_NewFileSize(BSTR ImgType, LONG* Value) override {
    return Read(Value, [&] { return core_.NewFileSize(FromCom(ImgType)); });
  }
  PK_COM_GET(OriginalImageType, BSTR)
  PK_COM_PROPERTY(OverwriteChr, BSTR)
  PK_COM_PROPERTY(OverwriteMode, ::TxowMode)
  PK_COM_PROPERTY(ProgressiveJpeg, VARIANT_BOOL)
  PK_COM_GET(ReadWidth, LONG)
  PK_COM_GET(ReadHeight, LONG)
  PK_COM_PROPERTY(Resample, VARIANT_BOOL)
  PK_COM_PROPERTY(TextAngle, LONG)
  PK_COM_PROPERTY(TextBG, BSTR)
  PK_COM_PROPERTY(TextColor, BSTR)
  PK_COM_PROPERTY(TextBold, VARIANT_BOOL)
  PK_COM_PROPERTY(TextItalic, VARIANT_BOOL)
  PK_COM_PROPERTY(TextUnderline, VARIANT_BOOL)
  PK_COM_PROPERTY(TextStrikeout, VARIANT_BOOL)
  PK_COM_PROPERTY(TextFont, BSTR)
  PK_COM_PROPERTY(TextHeight, LONG)
  PK_COM_PROPERTY(TextJustify, ::TxJustifyType)
  PK_COM_PROPERTY(TextOpaque, VARIANT_BOOL)
  PK_COM_PROPERTY(TextRectX, LONG)
  PK_COM_PROPERTY(TextRectY, LONG)
  PK_COM_PROPERTY(TextSize, LONG)
  PK_COM_PROPERTY(TextTranspercent, LONG)
  PK_COM_PROPERTY(TextWrap, VARIANT_BOOL)
  PK_COM_PROPERTY(Tile, VARIANT_BOOL)
  PK_COM_PROPERTY(Transparent, VARIANT_BOOL)
  PK_COM_PROPERTY(TransparentColor, BSTR)
  PK_COM_PROPERTY(Transpercent, LONG)
  PK_COM_GET(Version, BSTR)
  PK_COM_GET(WasCMYK, VARIANT_BOOL)
  PK_COM_GET(Test, BSTR)
  STDMETHODIMP get_Base64Out(BSTR ImgType, BSTR* Value) override {
    return Read(Value, [&] { return core_.Base64Out(FromCom(ImgType)); });
  }

 private:
  template <class Body>
  HRESULT Call(Body&& body) noexcept {
    return CallGuarded(body, &last_failure_);
  }
  // A value for an [out, retval] parameter, left empty when the member fails.
  template <class ComResult, class Getter>
  HRESULT Read(ComResult* out, Getter&& get) noexcept {
    if (!out) return E_POINTER;
    *out = ComResult{};
    return Call([&] { Store(get(), out); });
  }
  // The four members without an HRESULT: a failure sets the error
  // information and returns the fallback (-1, or a null BSTR).
  template <class Result, class Body>
  Result Direct(Result fallback, Body&& body) noexcept {
    Result result = fallback;
    CallGuarded([&] { result = body(); }, &last_failure_);
    return result;
  }

  ComRef<ITypeInfo> type_info_;
  TImageFunctions core_;
  // The failure of the member that the current Invoke ran.
  std::optional<ComFailure> last_failure_;
};

#undef PK_COM_PROPERTY
#undef PK_COM_PUT
#undef PK_COM_GET
#undef PK_COM_CALL

HRESULT LoadInterfaceTypeInfo(ComRef<ITypeInfo>& info) {
  ComRef<ITypeLib> library;
  std::wstring path = ModulePath();
  HRESULT result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  return library->GetTypeInfoOfGuid(IID_IImageFunctions, info.Put());
}

}  // namespace

HRESULT CreateImageFunctions(REFIID riid, void** object) noexcept {
  if (!object) return E_POINTER;
  *object = nullptr;
  try {
    ComRef<ITypeInfo> info;
    HRESULT loaded = LoadInterfaceTypeInfo(info);
    if (FAILED(loaded)) return loaded;
    ComRef<IImageFunctions> created(new ImageFunctionsObject(std::move(info)));
    return created->QueryInterface(riid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace pk::com
