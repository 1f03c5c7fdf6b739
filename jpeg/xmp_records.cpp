#include "jpeg/xmp_records.h"

#include <string>

#include "jpeg/messages.h"
#include "platform/exceptions.h"
#include "platform/text_encoding.h"

namespace pk {

void TPersistent::Assign(const TPersistent& source) {
  std::u16string message = msg::kCannotAssign;
  message.replace(message.find(u"%s"), 2, Utf8ToUtf16(source.ClassName()));
  message.replace(message.find(u"%s"), 2, Utf8ToUtf16(ClassName()));
  throw EConvertError(message);
}

}  // namespace pk
