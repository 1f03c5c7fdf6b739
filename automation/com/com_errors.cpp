// The error information of a failed member: what the exception says, with
// the source and interface a script sees in its Err object.
#include "com_errors.h"

#include <new>

#include "PixmarlKit.h"
#include "automation/messages.h"
#include "platform/win32_resources.h"
#include "platform/exceptions.h"
#include "platform/ole_error.h"
#include "platform/text_encoding.h"

namespace pk::com {
namespace {

constexpr wchar_t kErrorSource[] = L"PixmarlKit.ImageFunctions";

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

ComFailure Describe() {
  try {
    throw;
  } catch (const EOleSysError& error) {
    return {static_cast<HRESULT>(error.ErrorCode()), error.Message()};
  } catch (const Exception& error) {
    return {E_UNEXPECTED, error.Message()};
  } catch (const std::bad_alloc&) {
    return {E_OUTOFMEMORY, msg::kOutOfMemory};
  } catch (const std::exception& error) {
    return {E_UNEXPECTED, Utf8ToUtf16(error.what())};
  } catch (...) {
    return {E_UNEXPECTED, msg::kUnexpectedFailure};
  }
}

}  // namespace

ComFailure DescribeCurrentException() noexcept {
  try {
    return Describe();
  } catch (...) {
    return {E_OUTOFMEMORY, {}};
  }
}

void SetErrorInfoFor(const ComFailure& failure) noexcept {
  ComRef<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put()))) return;
  create->SetDescription(const_cast<wchar_t*>(Wide(failure.description)));
  create->SetSource(const_cast<wchar_t*>(kErrorSource));
  create->SetGUID(IID_IImageFunctions);
  create->SetHelpContext(0);
  ComRef<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.PutVoid()))) SetErrorInfo(0, info.Get());
}

void ClearErrorInfo() noexcept { SetErrorInfo(0, nullptr); }

void ClearExcepInfo(EXCEPINFO* info) noexcept {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}

void FillExcepInfo(const ComFailure& failure, EXCEPINFO* info) noexcept {
  if (!info) return;
  *info = EXCEPINFO{};
  info->bstrSource = SysAllocString(kErrorSource);
  info->bstrDescription = SysAllocStringLen(Wide(failure.description), static_cast<UINT>(failure.description.size()));
  info->scode = failure.code;
}

}  // namespace pk::com
