// The registry entries of the in-process server:
//   CLSID\{class}                  "ImageFunctions Object"
//     InprocServer32               the DLL's path, ThreadingModel "Both"
//     ProgID                       "PixmarlKit.ImageFunctions"
//     TypeLib, Version             the library's identifier, "1.0"
//   PixmarlKit.ImageFunctions      "ImageFunctions Object", CLSID {class}
// plus the type library's own entries, written by the system's type-library
// registration so that the dual interface gets its standard marshaller.
#include "registration.h"

#include <oleauto.h>

#include <string>

#include "PixmarlKit.h"
#include "module.h"
#include "platform/win32_resources.h"

// The system exports these (oleaut32) but the cross headers do not declare them.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* help_dir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID library, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
}

namespace pk::com {
namespace {

constexpr wchar_t kProgId[] = L"PixmarlKit.ImageFunctions";
constexpr wchar_t kClassDescription[] = L"ImageFunctions Object";
constexpr wchar_t kUserClasses[] = L"Software\\Classes";

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY Get() const { return key_; }
  HKEY* Put() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// The key under which classes are written for the scope.
HRESULT OpenClassesRoot(RegistrationScope scope, RegistryKey& root) {
  HKEY base = scope == RegistrationScope::kUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
  const wchar_t* path = scope == RegistrationScope::kUser ? kUserClasses : L"";
  return HRESULT_FROM_WIN32(
      RegCreateKeyExW(base, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.Put(), nullptr));
}

// Creates root\path and sets its default value, or the named one.
HRESULT SetValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  RegistryKey key;
  LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT WriteClassEntries(HKEY root, const std::wstring& dll_path) {
  const std::wstring clsid = GuidText(CLSID_ImageFunctions);
  const std::wstring class_key = L"CLSID\\" + clsid;
  const struct {
    std::wstring path;
    const wchar_t* name;
    std::wstring value;
  } entries[] = {
      {class_key, nullptr, kClassDescription},
      {class_key + L"\\InprocServer32", nullptr, dll_path},
      {class_key + L"\\InprocServer32", L"ThreadingModel", L"Both"},
      {class_key + L"\\ProgID", nullptr, kProgId},
      {class_key + L"\\TypeLib", nullptr, GuidText(LIBID_PixmarlKit)},
      {class_key + L"\\Version", nullptr, L"1.0"},
      {kProgId, nullptr, kClassDescription},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, clsid},
  };
  for (const auto& entry : entries) {
    HRESULT result = SetValue(root, entry.path, entry.name, entry.value);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT DeleteClassEntries(HKEY root) {
  HRESULT first_failure = S_OK;
  for (const std::wstring& path : {L"CLSID\\" + GuidText(CLSID_ImageFunctions), std::wstring(kProgId)}) {
    LONG status = RegDeleteTreeW(root, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && SUCCEEDED(first_failure)) {
      first_failure = HRESULT_FROM_WIN32(status);
    }
  }
  return first_failure;
}

HRESULT LoadOwnTypeLib(const std::wstring& dll_path, ComRef<ITypeLib>& library) {
  return LoadTypeLibEx(dll_path.c_str(), REGKIND_NONE, library.Put());
}

HRESULT RegisterTypeLibrary(RegistrationScope scope, const std::wstring& dll_path) {
  ComRef<ITypeLib> library;
  HRESULT result = LoadOwnTypeLib(dll_path, library);
  if (FAILED(result)) return result;
  auto* path = const_cast<OLECHAR*>(dll_path.c_str());
  return scope == RegistrationScope::kUser ? RegisterTypeLibForUser(library.Get(), path, nullptr)
                                           : RegisterTypeLib(library.Get(), path, nullptr);
}

HRESULT UnregisterTypeLibrary(RegistrationScope scope, const std::wstring& dll_path) {
  ComRef<ITypeLib> library;
  HRESULT result = LoadOwnTypeLib(dll_path, library);
  if (FAILED(result)) return result;
  TLIBATTR* attributes = nullptr;
  result = library->GetLibAttr(&attributes);
  if (FAILED(result)) return result;
  const TLIBATTR a = *attributes;
  library->ReleaseTLibAttr(attributes);
  result = scope == RegistrationScope::kUser
               ? UnRegisterTypeLibForUser(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind)
               : UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
  // A library that was never registered is already in the wanted state.
  return result == TYPE_E_REGISTRYACCESS ? S_OK : result;
}

}  // namespace

HRESULT RegisterServer(RegistrationScope scope) noexcept {
  try {
    const std::wstring dll_path = ModulePath();
    if (dll_path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    RegistryKey root;
    HRESULT result = OpenClassesRoot(scope, root);
    if (SUCCEEDED(result)) result = WriteClassEntries(root.Get(), dll_path);
    if (SUCCEEDED(result)) result = RegisterTypeLibrary(scope, dll_path);
    if (FAILED(result)) UnregisterServer(scope);
    return result;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept {
  try {
    const std::wstring dll_path = ModulePath();
    RegistryKey root;
    HRESULT result = OpenClassesRoot(scope, root);
    if (FAILED(result)) return result;
    HRESULT classes = DeleteClassEntries(root.Get());
    HRESULT library = UnregisterTypeLibrary(scope, dll_path);
    return FAILED(classes) ? classes : library;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace pk::com
