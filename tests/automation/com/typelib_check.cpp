// Checks the type library inside a built PixmarlKit.dll against the member
// table of the portable object: the library's identity, the four enumerations,
// the creatable class, and IImageFunctions row by row (vtable order, name,
// dispid, kind, parameter names and types, result, HRESULT or direct).
// Run under Wine by tools/script-tests: typelib_check <path of the DLL>
// [win32|win64], the system kind to expect (default: this program's).
// Prints each mismatch and "N passed, N failed"; exits 1 on any failure.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <vector>

#include "PixmarlKit.h"
#include "automation/member_table.h"
#include "check_support.h"

namespace {

using pk::check::DosPath;
using pk::check::Expect;
using pk::check::Narrow;
using pk::check::Ref;

std::string Narrow(BSTR text, bool free_it) {
  return free_it ? pk::check::Take(text) : pk::check::Narrow(static_cast<const wchar_t*>(text));
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return pk::check::Narrow(text);
}

std::string TypeName(ITypeInfo* info, HREFTYPE reference) {
  Ref<ITypeInfo> target;
  if (FAILED(info->GetRefTypeInfo(reference, &target.p))) return "?";
  BSTR name = nullptr;
  target->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  return Narrow(name, true);
}

// The type text of one element: "long", "BSTR", "TxowMode", "ptr long"...
std::string ElementType(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_I4: return "long";
    case VT_R4: return "float";
    case VT_BOOL: return "bool";
    case VT_BSTR: return "BSTR";
    case VT_VARIANT: return "VARIANT";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    case VT_PTR: return "ptr " + ElementType(info, *type.lptdesc);
    case VT_USERDEFINED: return TypeName(info, type.hreftype);
    default: return "vt" + std::to_string(type.vt);
  }
}

std::string ExpectedType(pk::TComType type) {
  using T = pk::TComType;
  switch (type) {
    case T::kVoid: return "void";
    case T::kLong: return "long";
    case T::kFloat: return "float";
    case T::kBool: return "bool";
    case T::kText: return "BSTR";
    case T::kVariant: return "VARIANT";
    case T::kTxowMode: return "TxowMode";
    case T::kTxCompressionType: return "TxCompressionType";
    case T::kTxJustifyType: return "TxJustifyType";
  }
  return "?";
}

INVOKEKIND ExpectedKind(pk::TMemberKind kind) {
  switch (kind) {
    case pk::TMemberKind::kPropertyGet: return INVOKE_PROPERTYGET;
    case pk::TMemberKind::kPropertyPut: return INVOKE_PROPERTYPUT;
    default: return INVOKE_FUNC;
  }
}

void CheckMember(ITypeInfo* info, UINT index, const pk::TMemberInfo& row) {
  FUNCDESC* function = nullptr;
  std::string label = "member " + std::to_string(index) + " (" + std::string(row.name) + ")";
  if (FAILED(info->GetFuncDesc(index, &function))) {
    Expect(false, label + ": no function description");
    return;
  }
  BSTR names[8] = {};
  UINT name_count = 0;
  info->GetNames(function->memid, names, 8, &name_count);
  // GetNames looks up by dispid and so names a property's get row; the put
  // row's "Value" parameter is not among them.
  Expect(Narrow(names[0], false) == row.name, label + ": name " + Narrow(names[0], false));
  Expect(function->memid == row.dispid, label + ": dispid " + std::to_string(function->memid));
  Expect(function->invkind == ExpectedKind(row.kind), label + ": kind " + std::to_string(function->invkind));
  Expect(function->funckind == FUNC_PUREVIRTUAL, label + ": not a vtable function");
  Expect(function->callconv == CC_STDCALL, label + ": calling convention");

  const bool with_retval = !row.direct_result && row.result != pk::TComType::kVoid;
  const size_t expected_params = row.Params().size() + (with_retval ? 1 : 0);
  Expect(function->cParams == static_cast<SHORT>(expected_params),
         label + ": " + std::to_string(function->cParams) + " parameters");
  if (function->cParams == static_cast<SHORT>(expected_params)) {
    for (size_t i = 0; i < row.Params().size(); ++i) {
      const pk::TMemberParam& param = row.Params()[i];
      std::string type = ElementType(info, function->lprgelemdescParam[i].tdesc);
      Expect(type == ExpectedType(param.type), label + ": parameter " + std::string(param.name) + " is " + type);
      bool named = row.kind != pk::TMemberKind::kPropertyPut && i + 1 < name_count;
      if (named) {
        Expect(Narrow(names[i + 1], false) == param.name,
               label + ": parameter name " + Narrow(names[i + 1], false));
      }
    }
    if (with_retval) {
      const ELEMDESC& last = function->lprgelemdescParam[row.Params().size()];
      Expect(last.paramdesc.wParamFlags == (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL), label + ": last parameter retval");
      Expect(ElementType(info, last.tdesc) == "ptr " + ExpectedType(row.result), label + ": result type");
    }
  }
  std::string result = ElementType(info, function->elemdescFunc.tdesc);
  Expect(result == (row.direct_result ? ExpectedType(row.result) : "HRESULT"), label + ": returns " + result);
  for (UINT i = 0; i < name_count; ++i) SysFreeString(names[i]);
  info->ReleaseFuncDesc(function);
}

void CheckInterface(ITypeLib* library) {
  Ref<ITypeInfo> dispatch;
  Expect(SUCCEEDED(library->GetTypeInfoOfGuid(IID_IImageFunctions, &dispatch.p)), "IImageFunctions present");
  if (!dispatch.p) return;
  TYPEATTR* attributes = nullptr;
  dispatch->GetTypeAttr(&attributes);
  Expect(attributes->typekind == TKIND_DISPATCH, "IImageFunctions is dispatchable");
  Expect((attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0, "IImageFunctions is dual");
  Expect((attributes->wTypeFlags & TYPEFLAG_FDISPATCHABLE) != 0, "IImageFunctions is dispatchable");
  dispatch->ReleaseTypeAttr(attributes);
  BSTR help = nullptr;
  dispatch->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr);
  Expect(Narrow(help, true) == "Dispatch interface for ImageFunctions Object", "interface help text");

  // The vtable half of the dual interface lists the functions in slot order.
  HREFTYPE vtable_reference = 0;
  Ref<ITypeInfo> vtable;
  Expect(SUCCEEDED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable_reference)) &&
             SUCCEEDED(dispatch->GetRefTypeInfo(vtable_reference, &vtable.p)),
         "vtable interface of IImageFunctions");
  if (!vtable.p) return;
  vtable->GetTypeAttr(&attributes);
  Expect(attributes->typekind == TKIND_INTERFACE, "vtable half is an interface");
  Expect((attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0, "IImageFunctions is oleautomation");
  Expect((attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0, "vtable half is dual");
  const UINT functions = attributes->cFuncs;
  vtable->ReleaseTypeAttr(attributes);
  Expect(functions == pk::kImageFunctionsMembers.size(), "125 functions, found " + std::to_string(functions));
  for (UINT i = 0; i < functions && i < pk::kImageFunctionsMembers.size(); ++i) {
    CheckMember(vtable.p, i, pk::kImageFunctionsMembers[i]);
  }
}

struct EnumExpectation {
  const char* name;
  const char* guid;
  std::vector<std::pair<const char*, int>> values;
};

void CheckEnumerations(ITypeLib* library) {
  const EnumExpectation enums[] = {
      {"TxowMode", "{B1E47D35-9C62-4A8F-83D0-5F2A6C9E1B47}", {{"owAlways", 0}, {"owNever", 1}, {"owRename", 2}}},
      {"TxFilterType",
       "{E4935A18-2F7B-4C6D-95A1-0D8B3E7F6C22}",
       {{"ft1", 0}, {"ft2", 1}, {"ft3", 2}, {"ft4", 3}, {"ft5", 4}, {"ft6", 5}, {"ft7", 6}}},
      {"TxCompressionType",
       "{6C18F2D4-A35E-47B9-B06F-9E2D4A1C8537}",
       {{"ctNone", 0}, {"ctPackbits", 1}, {"ctGroup4", 2}, {"ctGroup3", 3}, {"ctLZW", 4}}},
      {"TxJustifyType", "{2E9D6B47-81FA-4C35-A7E2-63B0D5F91C84}", {{"jtLeft", 0}, {"jtCentre", 1}, {"jtRight", 2}}},
  };
  for (const EnumExpectation& expected : enums) {
    GUID guid{};
    CLSIDFromString(std::wstring(expected.guid, expected.guid + std::strlen(expected.guid)).c_str(), &guid);
    Ref<ITypeInfo> info;
    std::string label = std::string("enumeration ") + expected.name;
    if (FAILED(library->GetTypeInfoOfGuid(guid, &info.p))) {
      Expect(false, label + " with its GUID");
      continue;
    }
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    Expect(attributes->typekind == TKIND_ENUM, label + " is an enumeration");
    Expect(attributes->cVars == expected.values.size(), label + " member count");
    const UINT count = attributes->cVars;
    info->ReleaseTypeAttr(attributes);
    BSTR name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    Expect(Narrow(name, true) == expected.name, label + " name");
    for (UINT i = 0; i < count && i < expected.values.size(); ++i) {
      VARDESC* variable = nullptr;
      info->GetVarDesc(i, &variable);
      BSTR member = nullptr;
      UINT got = 0;
      info->GetNames(variable->memid, &member, 1, &got);
      Expect(Narrow(member, true) == expected.values[i].first, label + " member " + expected.values[i].first);
      Expect(V_VT(variable->lpvarValue) == VT_I4 && V_I4(variable->lpvarValue) == expected.values[i].second,
             label + " value of " + expected.values[i].first);
      info->ReleaseVarDesc(variable);
    }
  }
}

void CheckClass(ITypeLib* library) {
  Ref<ITypeInfo> info;
  Expect(SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_ImageFunctions, &info.p)), "coclass ImageFunctions present");
  if (!info.p) return;
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  Expect(attributes->typekind == TKIND_COCLASS, "ImageFunctions is a coclass");
  Expect((attributes->wTypeFlags & TYPEFLAG_FCANCREATE) != 0, "ImageFunctions is creatable");
  info->ReleaseTypeAttr(attributes);
  BSTR name = nullptr;
  BSTR help = nullptr;
  info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
  Expect(Narrow(name, true) == "ImageFunctions", "class name");
  Expect(Narrow(help, true) == "ImageFunctions Object", "class help text");
  HREFTYPE reference = 0;
  INT flags = 0;
  info->GetRefTypeOfImplType(0, &reference);
  info->GetImplTypeFlags(0, &flags);
  Expect((flags & IMPLTYPEFLAG_FDEFAULT) != 0, "IImageFunctions is the default interface");
  Expect(TypeName(info.p, reference) == "IImageFunctions", "default interface name");
}

void CheckLibrary(ITypeLib* library, SYSKIND expected_kind) {
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  Expect(IsEqualGUID(attributes->guid, LIBID_PixmarlKit), "LIBID " + GuidText(attributes->guid));
  Expect(attributes->wMajorVerNum == 1 && attributes->wMinorVerNum == 0, "version 1.0");
  Expect(attributes->lcid == 0x409, "locale 0x409");
  Expect(attributes->syskind == expected_kind, "system kind " + std::to_string(attributes->syskind));
  library->ReleaseTLibAttr(attributes);
  BSTR name = nullptr;
  library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  Expect(Narrow(name, true) == "PixmarlKit", "library name");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::printf("usage: typelib_check <PixmarlKit.dll> [win32|win64]\n");
    return 2;
  }
  // The library of the other width's DLL is read as data, so the 64-bit
  // check also covers the x86 DLL, which this machine cannot run.
  const SYSKIND expected_kind = argc == 3 ? (std::strcmp(argv[2], "win32") == 0 ? SYS_WIN32 : SYS_WIN64)
                                          : (sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  std::wstring path = DosPath(argv[1]);
  Ref<ITypeLib> library;
  HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library.p);
  Expect(SUCCEEDED(loaded), "type library loads from the DLL");
  if (library.p) {
    CheckLibrary(library.p, expected_kind);
    CheckEnumerations(library.p);
    CheckClass(library.p);
    CheckInterface(library.p);
  }
  return pk::check::Summary();
}
