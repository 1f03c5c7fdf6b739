// CheckOleResult: turns a failed HRESULT of a COM call into EOleSysError with
// the best text at hand, the callee's own error description first.
#include <windows.h>
#include <oleauto.h>

#include "platform/ole_error.h"
#include "platform/win32_resources.h"

namespace pk {
namespace {

std::u16string CalleeDescription() {
  ComRef<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info.Get()) return {};
  UniqueBstr description;
  if (FAILED(info->GetDescription(description.Put())) || !description.Get()) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(description.Get()), SysStringLen(description.Get()));
}

std::u16string SystemText(HRESULT result) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length != 0 && buffer) {
    text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  }
  LocalFree(buffer);
  if (text.empty()) {
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    text = u"OLE error ";
    for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(static_cast<uint32_t>(result) >> shift) & 0xF];
  }
  return text;
}

}  // namespace

void CheckOleResult(int32_t result) {
  if (SUCCEEDED(result)) return;
  std::u16string text = CalleeDescription();
  if (text.empty()) text = SystemText(result);
  throw EOleSysError(std::move(text), result);
}

}  // namespace pk
