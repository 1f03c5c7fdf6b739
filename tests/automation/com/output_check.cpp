// Checks the output channels of the registered PixmarlKit.dll as a script
// meets them, through IDispatch only: the byte arrays of VariantOut (lower
// bound 1, upper bound NewFileSize), the GDI bitmaps of BMPHandle (a new DIB
// section each read, of the image's size, depth and colour table, owned by
// the caller; deleting them leaves the object working, and 20000 reads each
// followed by DeleteObject leave no GDI object behind), and StreamToBrowser
// against a recording Response handed in through the object's private
// injection interface (the header, the chunks and their bounds, Flush only
// while buffering, the early stop, and a failing Response call whose
// description reaches the caller). Run under Wine by tools/script-tests after
// the DLL is registered. Prints each failed check and "N passed, N failed".
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "PixmarlKit.h"
#include "automation/com/response_injection.h"
#include "check_support.h"

namespace {

using pk::check::Expect;
using pk::check::Ref;
using pk::check::Take;

// A bottom-up BMP file with a 40-byte header; paletted depths get the table.
std::vector<uint8_t> BmpFile(int width, int height, int bits, const std::vector<RGBQUAD>& table = {}) {
  const uint32_t row_bytes = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  const uint32_t offset = 54 + static_cast<uint32_t>(table.size()) * 4;
  std::vector<uint8_t> file(offset + row_bytes * height);
  auto put = [&](size_t at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<uint32_t>(file.size()), 4);
  put(10, offset, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, static_cast<uint32_t>(bits), 2);
  put(46, static_cast<uint32_t>(table.size()), 4);
  std::memcpy(file.data() + 54, table.data(), table.size() * 4);
  for (size_t i = offset; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 13);
  return file;
}

VARIANT ByteArrayVariant(const std::vector<uint8_t>& bytes) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), 1};
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_ARRAY | VT_UI1;
  V_ARRAY(&value) = SafeArrayCreate(VT_UI1, 1, &bound);
  void* data = nullptr;
  SafeArrayAccessData(V_ARRAY(&value), &data);
  std::memcpy(data, bytes.data(), bytes.size());
  SafeArrayUnaccessData(V_ARRAY(&value));
  return value;
}

struct ArrayShape {
  bool byte_array = false;
  LONG lower = 0;
  LONG upper = -1;
  std::vector<uint8_t> bytes;
};

ArrayShape ShapeOf(const VARIANT& value) {
  ArrayShape shape;
  if (V_VT(&value) != (VT_ARRAY | VT_UI1) || SafeArrayGetDim(V_ARRAY(&value)) != 1) return shape;
  shape.byte_array = true;
  SafeArrayGetLBound(V_ARRAY(&value), 1, &shape.lower);
  SafeArrayGetUBound(V_ARRAY(&value), 1, &shape.upper);
  void* data = nullptr;
  SafeArrayAccessData(V_ARRAY(&value), &data);
  const auto* first = static_cast<const uint8_t*>(data);
  shape.bytes.assign(first, first + (shape.upper - shape.lower + 1));
  SafeArrayUnaccessData(V_ARRAY(&value));
  return shape;
}

// A late-bound call as a script makes it; arguments in their written order.
struct CallResult {
  HRESULT outcome = E_FAIL;
  VARIANT value{};
  std::string description;
};

CallResult Invoke(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT> arguments = {}) {
  CallResult call;
  VariantInit(&call.value);
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  call.outcome = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(call.outcome)) return call;
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS parameters{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  EXCEPINFO exception{};
  call.outcome = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, &call.value, &exception, nullptr);
  if (call.outcome == DISP_E_EXCEPTION) {
    call.description = Take(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
  }
  for (VARIANT& argument : arguments) VariantClear(&argument);
  return call;
}

VARIANT Text(const wchar_t* text) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text);
  return value;
}

LONG ReadLong(IDispatch* object, const wchar_t* name, std::vector<VARIANT> arguments = {}) {
  CallResult call = Invoke(object, name, DISPATCH_PROPERTYGET, std::move(arguments));
  return SUCCEEDED(call.outcome) && V_VT(&call.value) == VT_I4 ? V_I4(&call.value) : -1;
}

ArrayShape VariantOut(IDispatch* object, const wchar_t* type) {
  CallResult call = Invoke(object, L"VariantOut", DISPATCH_PROPERTYGET, {Text(type)});
  ArrayShape shape = ShapeOf(call.value);
  VariantClear(&call.value);
  return shape;
}

bool Load(IDispatch* object, const std::vector<uint8_t>& file) {
  return SUCCEEDED(Invoke(object, L"ReadVariant", DISPATCH_METHOD, {ByteArrayVariant(file)}).outcome);
}

// --- A recording Response --------------------------------------------------

struct ResponseRecord {
  std::vector<std::wstring> headers;      // "name: value"
  std::vector<ArrayShape> writes;
  int flushes = 0;
  std::deque<bool> buffer_answers;     // in turn; false after
  std::deque<bool> connected_answers;  // in turn; true after
  const wchar_t* add_header_failure = nullptr;
};

class RecordingResponse final : public IDispatch {
 public:
  explicit RecordingResponse(ResponseRecord& record) : record_(record) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // lives on the stack
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    for (DISPID i = 0; i < 5; ++i) {
      if (_wcsicmp(names[0], kNames[i]) == 0) {
        ids[0] = i + 1;
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                      UINT*) override {
    switch (id) {
      case 1: {  // AddHeader(name, value): arguments arrive reversed
        if (record_.add_header_failure) {
          exception->scode = static_cast<SCODE>(0x80004005);
          exception->bstrDescription = SysAllocString(record_.add_header_failure);
          return DISP_E_EXCEPTION;
        }
        record_.headers.push_back(std::wstring(V_BSTR(&parameters->rgvarg[1])) + L": " +
                                  V_BSTR(&parameters->rgvarg[0]));
        return S_OK;
      }
      case 2: record_.writes.push_back(ShapeOf(parameters->rgvarg[0])); return S_OK;
      case 3: return Answer(record_.buffer_answers, false, result);
      case 4: ++record_.flushes; return S_OK;
      case 5: return Answer(record_.connected_answers, true, result);
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  static constexpr const wchar_t* kNames[5] = {L"AddHeader", L"BinaryWrite", L"Buffer", L"Flush",
                                               L"IsClientConnected"};
  static HRESULT Answer(std::deque<bool>& answers, bool otherwise, VARIANT* result) {
    bool answer = otherwise;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = answer ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  ResponseRecord& record_;
  ULONG references_ = 1;
};

void Inject(IDispatch* object, IDispatch* response) {
  Ref<pk::com::IResponseInjection> injection;
  Expect(SUCCEEDED(object->QueryInterface(pk::com::kIidResponseInjection, injection.Out())),
         "the object answers the injection interface");
  if (injection.p) injection->InjectResponse(response);
}

void CheckStreaming(IDispatch* object) {
  // 54 + 83316 * 3: the largest BMP road to a size near 250000 bytes.
  Expect(Load(object, BmpFile(83316, 1, 24)), "ReadVariant of a 250002-byte BMP");
  const ArrayShape encoded = VariantOut(object, L"bmp");
  Expect(encoded.bytes.size() == 250002, "the encoding is 250002 bytes");

  ResponseRecord record;
  record.buffer_answers = {true, false, true};
  RecordingResponse response(record);
  Inject(object, &response);
  CallResult call = Invoke(object, L"StreamToBrowser", DISPATCH_METHOD, {Text(L"bmp")});
  Expect(SUCCEEDED(call.outcome), "StreamToBrowser succeeds: " + call.description);
  Expect(record.headers == std::vector<std::wstring>{L"Content-Length: 250002"}, "one Content-Length header");
  std::vector<size_t> sizes;
  std::vector<uint8_t> body;
  bool bounds_from_1 = true;
  for (const ArrayShape& write : record.writes) {
    sizes.push_back(write.bytes.size());
    body.insert(body.end(), write.bytes.begin(), write.bytes.end());
    bounds_from_1 = bounds_from_1 && write.byte_array && write.lower == 1 &&
                    write.upper == static_cast<LONG>(write.bytes.size());
  }
  Expect(sizes == std::vector<size_t>{102400, 102400, 45202}, "writes of 102400, 102400 and 45202 bytes");
  Expect(bounds_from_1, "every write is a byte array with bounds 1 to n");
  Expect(body == encoded.bytes, "the body is the encoding");
  Expect(record.flushes == 2, "Flush only after the writes made while buffering");

  ResponseRecord gone;
  gone.connected_answers = {false};
  RecordingResponse gone_response(gone);
  Inject(object, &gone_response);
  Expect(SUCCEEDED(Invoke(object, L"StreamToBrowser", DISPATCH_METHOD, {Text(L"bmp")}).outcome) &&
             gone.writes.size() == 1,
         "a client gone after the first write stops the stream quietly");

  ResponseRecord refused;
  refused.add_header_failure = L"Headers already sent.";
  RecordingResponse refusing(refused);
  Inject(object, &refusing);
  call = Invoke(object, L"StreamToBrowser", DISPATCH_METHOD, {Text(L"bmp")});
  Expect(call.outcome == DISP_E_EXCEPTION && call.description == "Headers already sent.",
         "a failing AddHeader reaches the caller: [" + call.description + "]");
  Expect(refused.writes.empty(), "nothing written after the failing header");

  Inject(object, nullptr);
  call = Invoke(object, L"StreamToBrowser", DISPATCH_METHOD, {Text(L"bmp")});
  Expect(call.outcome == DISP_E_EXCEPTION && !call.description.empty(), "outside a page the Response is missing");
}

void CheckVariantOut(IDispatch* object) {
  Expect(Load(object, BmpFile(5, 3, 24)), "ReadVariant of a 5 x 3 BMP");
  const ArrayShape shape = VariantOut(object, L"bmp");
  Expect(shape.byte_array && shape.lower == 1, "VariantOut: a byte array from 1");
  Expect(shape.upper == ReadLong(object, L"NewFileSize", {Text(L"bmp")}), "VariantOut: up to NewFileSize");
}

HBITMAP ReadHandle(IDispatch* object) {
  return reinterpret_cast<HBITMAP>(static_cast<intptr_t>(ReadLong(object, L"BMPHandle")));
}

// The highest GDI handle-table slot among a batch of new objects: objects left
// behind hold their slots, so later batches land higher.
unsigned HighestFreshSlot() {
  std::vector<HGDIOBJ> batch;
  unsigned highest = 0;
  for (int i = 0; i < 64; ++i) {
    batch.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    highest = std::max(highest, static_cast<unsigned>(reinterpret_cast<uintptr_t>(batch.back()) & 0xFFFF));
  }
  for (HGDIOBJ created : batch) DeleteObject(created);
  return highest;
}

void CheckBitmapHandles(IDispatch* object) {
  std::vector<RGBQUAD> table(256);
  for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{7, static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
  Expect(Load(object, BmpFile(6, 4, 8, table)), "ReadVariant of an 8-bit BMP");
  HBITMAP first = ReadHandle(object);
  HBITMAP second = ReadHandle(object);
  Expect(first && second && first != second, "two reads give two handles");
  BITMAP shape{};
  Expect(GetObjectW(first, sizeof shape, &shape) == sizeof shape && shape.bmWidth == ReadLong(object, L"Width") &&
             shape.bmHeight == ReadLong(object, L"Height") && shape.bmBitsPixel == 8,
         "the bitmap has the image's size and depth");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, second);
  RGBQUAD colours[256]{};
  const UINT count = GetDIBColorTable(dc, 0, 256, colours);
  SelectObject(dc, old);
  DeleteDC(dc);
  Expect(count == 256 && colours[200].rgbRed == 200 && colours[200].rgbGreen == 55 && colours[200].rgbBlue == 7,
         "the bitmap carries the image's colour table");
  Expect(DeleteObject(first) && DeleteObject(second), "the caller deletes both handles");
  Expect(ReadLong(object, L"Width") == 6 && VariantOut(object, L"bmp").byte_array,
         "the object works on after the handles are gone");

  const unsigned before = HighestFreshSlot();
  bool all_read = true;
  for (int i = 0; i < 20000; ++i) {
    HBITMAP handle = ReadHandle(object);
    all_read = all_read && handle != nullptr && DeleteObject(handle);
  }
  const unsigned after = HighestFreshSlot();
  Expect(all_read, "20000 handles read and deleted");
  Expect(after <= before + 16, "no GDI object left behind (slots " + std::to_string(before) + " then " +
                                   std::to_string(after) + ")");
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    Ref<IDispatch> object;
    const HRESULT created =
        CoCreateInstance(CLSID_ImageFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.Out());
    Expect(SUCCEEDED(created) && object.p, "the registered class creates the object");
    if (object.p) {
      CheckVariantOut(object.p);
      CheckBitmapHandles(object.p);
      CheckStreaming(object.p);
    }
  }
  CoUninitialize();
  return pk::check::Summary();
}
