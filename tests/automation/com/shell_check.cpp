// Checks the COM shell of a built PixmarlKit.dll the way a compiled client
// meets it, without registration: the DLL is loaded and asked for its class
// factory directly. Covers the factory (multi-instance, no aggregation, wrong
// class), the error contract on the vtable (E_UNEXPECTED with the error
// information's description, source and GUID; a success clears it; the four
// direct-result members give -1 or a null BSTR with the information set),
// IDispatch (names, DISP_E_EXCEPTION with EXCEPINFO for every failing member,
// none of the caller's garbage freed, wrong interface id), byte arrays of any lower bound and by reference, and
// DllCanUnloadNow. Run under Wine by tools/script-tests:
//   shell_check <PixmarlKit.dll> <a BMP file>
// Prints each failed check and "N passed, N failed"; exits 1 on any failure.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "PixmarlKit.h"
#include "check_support.h"
#include "tests/support/import_hook.h"

namespace {

using pk::check::Expect;
using pk::check::Ref;
using pk::check::Take;

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

struct Server {
  HMODULE module = nullptr;
  GetClassObjectFunction get_class_object = nullptr;
  CanUnloadNowFunction can_unload_now = nullptr;
};

// An export by name; the cast goes through a generic function pointer, as
// GetProcAddress's own type says nothing of the signature.
template <class Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string HexCode(HRESULT code) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(code));
  return text;
}

// The thread's error information, consumed: description, source, GUID.
struct ErrorRecord {
  bool present = false;
  std::string description;
  std::string source;
  GUID guid{};
};

ErrorRecord TakeErrorInfo() {
  ErrorRecord record;
  Ref<IErrorInfo> info;
  if (GetErrorInfo(0, &info.p) != S_OK || !info.p) return record;
  record.present = true;
  BSTR text = nullptr;
  info->GetDescription(&text);
  record.description = Take(text);
  info->GetSource(&text);
  record.source = Take(text);
  info->GetGUID(&record.guid);
  return record;
}

void ExpectErrorInfo(const std::string& label, const std::string& description) {
  ErrorRecord record = TakeErrorInfo();
  Expect(record.present, label + ": error information set");
  Expect(record.description == description, label + ": description [" + record.description + "]");
  Expect(record.source == "PixmarlKit.ImageFunctions", label + ": source [" + record.source + "]");
  Expect(IsEqualGUID(record.guid, IID_IImageFunctions), label + ": GUID of IImageFunctions");
}

// The strings the DLL hands to SysFreeString, seen through its import table.
// A pointer made of the garbage byte is recorded but never freed for real.
using FreeStringFunction = void(WINAPI*)(BSTR);
constexpr unsigned char kGarbage = 0xCD;
std::unique_ptr<pk::test::TImportHook> free_string_hook;
std::vector<BSTR> freed_strings;

void WINAPI RecordingFreeString(BSTR text) {
  freed_strings.push_back(text);
  BSTR garbage;
  std::memset(&garbage, kGarbage, sizeof garbage);
  if (text != garbage) free_string_hook->Original<FreeStringFunction>()(text);
}

void WatchFreedStrings(HMODULE server) {
  free_string_hook = std::make_unique<pk::test::TImportHook>(server, L"oleaut32.dll", "SysFreeString",
                                                             reinterpret_cast<void*>(&RecordingFreeString));
  Expect(free_string_hook->Installed(), "the DLL's SysFreeString import is watched");
}

HRESULT NewObject(IClassFactory* factory, Ref<IImageFunctions>& object) {
  return factory->CreateInstance(nullptr, IID_IImageFunctions, object.Out());
}

void CheckFactory(const Server& server, IClassFactory* factory) {
  Ref<IClassFactory> wrong;
  Expect(server.get_class_object(IID_IImageFunctions, IID_IClassFactory, wrong.Out()) == CLASS_E_CLASSNOTAVAILABLE,
         "another class id is refused");
  Ref<IUnknown> aggregated;
  Expect(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IUnknown, aggregated.Out()) ==
             CLASS_E_NOAGGREGATION,
         "aggregation is refused");
  Ref<IImageFunctions> first;
  Ref<IImageFunctions> second;
  Expect(SUCCEEDED(NewObject(factory, first)) && SUCCEEDED(NewObject(factory, second)), "two objects");
  Expect(first.p != second.p, "every creation makes a new object");
  first->put_JpegQuality(12);
  LONG quality = 0;
  second->get_JpegQuality(&quality);
  Expect(quality == 90, "objects share no state");
  Expect(server.can_unload_now() == S_FALSE, "DLL stays while objects live");
}

void CheckVtableErrors(IImageFunctions* object) {
  BSTR name = SysAllocString(L"Z:\\no\\such\\folder\\missing.bmp");
  HRESULT result = object->ReadFile(name);
  SysFreeString(name);
  Expect(result == E_UNEXPECTED, "failing member returns E_UNEXPECTED, got " + HexCode(result));
  ExpectErrorInfo("ReadFile of a missing file", "File not found: missing.bmp");

  object->ReadFile(nullptr);
  Expect(SUCCEEDED(object->put_JpegQuality(50)), "a put succeeds");
  Expect(!TakeErrorInfo().present, "a success clears the error information");

  LONG index = object->ColorIndex(nullptr);
  Expect(index == -1, "direct member failing through the vtable gives -1");
  ErrorRecord record = TakeErrorInfo();
  Expect(record.present && record.source == "PixmarlKit.ImageFunctions",
         "direct member failure sets the error information [" + record.description + "]");

  BSTR colour = object->OLEColorToStr(255);
  Expect(pk::check::Narrow(colour) == "FF0000", "BSTR returned directly");
  SysFreeString(colour);

  Ref<ISupportErrorInfo> support;
  Expect(SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, support.Out())), "ISupportErrorInfo");
  if (support.p) {
    Expect(support->InterfaceSupportsErrorInfo(IID_IImageFunctions) == S_OK, "supports error info");
    Expect(support->InterfaceSupportsErrorInfo(IID_IDispatch) == S_FALSE, "only for IImageFunctions");
  }
  LONG* null_out = nullptr;
  Expect(object->get_Width(null_out) == E_POINTER, "a null out-parameter is refused");
}

DISPID IdOf(IImageFunctions* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

void CheckDispatch(IImageFunctions* object) {
  Expect(IdOf(object, L"Width") == 250, "GetIDsOfNames(Width)");
  Expect(IdOf(object, L"base64out") == 287, "names are case-insensitive");

  // A direct-result member and an HRESULT member both fail as exceptions.
  const struct {
    const wchar_t* name;
    const char* description;
  } failing[] = {{L"FindUnusedColor", nullptr}, {L"WriteFile", "No image loaded in the component."}};
  for (const auto& member : failing) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(L"Z:\\nowhere\\out.bmp");
    DISPPARAMS parameters{&argument, nullptr, member.description ? 1u : 0u, 0};
    VARIANT result;
    VariantInit(&result);
    // The caller's EXCEPINFO is uninitialised: only what the call fills in
    // may be read or freed.
    EXCEPINFO exception;
    std::memset(&exception, kGarbage, sizeof exception);
    BSTR garbage = exception.bstrDescription;
    freed_strings.clear();
    HRESULT outcome = object->Invoke(IdOf(object, member.name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                     &parameters, &result, &exception, nullptr);
    std::string label = "Invoke " + pk::check::Narrow(member.name);
    Expect(std::find(freed_strings.begin(), freed_strings.end(), garbage) == freed_strings.end(),
           label + ": the caller's EXCEPINFO is not freed");
    Expect(outcome == DISP_E_EXCEPTION, label + ": DISP_E_EXCEPTION, got " + HexCode(outcome));
    Expect(exception.scode == E_UNEXPECTED, label + ": scode " + HexCode(exception.scode));
    std::string description = Take(exception.bstrDescription);
    Expect(member.description ? description == member.description : !description.empty(),
           label + ": description [" + description + "]");
    Expect(Take(exception.bstrSource) == "PixmarlKit.ImageFunctions", label + ": source");
    SysFreeString(exception.bstrHelpFile);
    Expect(V_VT(&result) == VT_EMPTY, label + ": no result");
    VariantClear(&argument);
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  Expect(object->Invoke(250, IID_IImageFunctions, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                        nullptr, nullptr) == DISP_E_UNKNOWNINTERFACE,
         "Invoke with an interface id");
  Expect(SUCCEEDED(object->Invoke(250, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                  nullptr)) &&
             V_VT(&result) == VT_I4 && V_I4(&result) == 0,
         "Invoke reads Width");
}

// Every value but a one-dimensional array of one-byte elements is refused,
// and the image loaded before stays.
void CheckRefusedVariants(IImageFunctions* object) {
  SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
  SAFEARRAYBOUND four{4, 0};
  struct Refusal {
    const char* label;
    VARTYPE type;
    SAFEARRAY* array;
  };
  Refusal refusals[] = {
      {"a number", VT_I4, nullptr},
      {"Null", VT_NULL, nullptr},
      {"Empty", VT_EMPTY, nullptr},
      {"a null array", VT_ARRAY | VT_UI1, nullptr},
      {"a 2-D byte array", VT_ARRAY | VT_UI1, SafeArrayCreate(VT_UI1, 2, square)},
      {"an array of VARIANTs", VT_ARRAY | VT_VARIANT, SafeArrayCreate(VT_VARIANT, 1, &four)},
      {"an array of shorts", VT_ARRAY | VT_I2, SafeArrayCreate(VT_I2, 1, &four)},
  };
  LONG width_before = 0;
  object->get_Width(&width_before);
  for (Refusal& refusal : refusals) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = refusal.type;
    if (refusal.type & VT_ARRAY) V_ARRAY(&value) = refusal.array;
    const std::string label = std::string("ReadVariant of ") + refusal.label;
    Expect(object->ReadVariant(value) == E_UNEXPECTED, label + " fails");
    ExpectErrorInfo(label, "Invalid variant: a one-dimensional byte array is expected.");
    LONG width = 0;
    object->get_Width(&width);
    Expect(width == width_before, label + " keeps the image");
    if (refusal.array) SafeArrayDestroy(refusal.array);
  }
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"BM");
  Expect(object->ReadVariant(text) == E_UNEXPECTED, "ReadVariant of a string fails");
  VariantClear(&text);
}

// A byte array with the given lower bound holding the file's bytes.
SAFEARRAY* ByteArray(const std::vector<char>& bytes, LONG lower_bound) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), lower_bound};
  SAFEARRAY* array = SafeArrayCreate(VT_UI1, 1, &bound);
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
  SafeArrayUnaccessData(array);
  return array;
}

void CheckByteArrays(IImageFunctions* object, const std::vector<char>& bmp) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_ARRAY | VT_UI1;
  V_ARRAY(&value) = ByteArray(bmp, 5);
  Expect(SUCCEEDED(object->ReadVariant(value)), "ReadVariant of an array with lower bound 5");
  LONG width = 0;
  object->get_Width(&width);
  Expect(width > 0, "the bytes were loaded");

  object->ReadVariant(VARIANT{});  // empty: fails, clears the image
  VARIANT reference;
  VariantInit(&reference);
  V_VT(&reference) = VT_BYREF | VT_ARRAY | VT_UI1;
  V_ARRAYREF(&reference) = &V_ARRAY(&value);
  Expect(SUCCEEDED(object->ReadVariant(reference)), "ReadVariant of an array by reference");
  VARIANT variant_reference;
  VariantInit(&variant_reference);
  V_VT(&variant_reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&variant_reference) = &value;
  Expect(SUCCEEDED(object->ReadVariant(variant_reference)), "ReadVariant of a VARIANT by reference");
  object->get_Width(&width);
  Expect(width > 0, "loaded through the references");
  VariantClear(&value);

  VARIANT signed_bytes;
  VariantInit(&signed_bytes);
  V_VT(&signed_bytes) = VT_ARRAY | VT_I1;
  V_ARRAY(&signed_bytes) = ByteArray(bmp, 0);
  Expect(SUCCEEDED(object->ReadVariant(signed_bytes)), "ReadVariant of a VT_I1 array");
  VariantClear(&signed_bytes);
  CheckRefusedVariants(object);
}


}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: shell_check <PixmarlKit.dll> <file.bmp>\n");
    return 2;
  }
  std::ifstream file(argv[2], std::ios::binary);
  std::vector<char> bmp((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Expect(!bmp.empty(), "BMP fixture read");
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Server server;
  server.module = LoadLibraryW(pk::check::DosPath(argv[1]).c_str());
  Expect(server.module != nullptr, "DLL loads");
  if (server.module) {
    server.get_class_object = Export<GetClassObjectFunction>(server.module, "DllGetClassObject");
    server.can_unload_now = Export<CanUnloadNowFunction>(server.module, "DllCanUnloadNow");
    WatchFreedStrings(server.module);
    {
      Ref<IClassFactory> factory;
      Expect(SUCCEEDED(server.get_class_object(CLSID_ImageFunctions, IID_IClassFactory, factory.Out())),
             "class factory");
      Ref<IImageFunctions> object;
      if (factory.p && SUCCEEDED(NewObject(factory.p, object))) {
        CheckFactory(server, factory.p);
        CheckVtableErrors(object.p);
        CheckDispatch(object.p);
        CheckByteArrays(object.p, bmp);
      }
    }
    Expect(server.can_unload_now() == S_OK, "DLL can unload once everything is released");
    free_string_hook.reset();
  }
  CoUninitialize();
  return pk::check::Summary();
}
