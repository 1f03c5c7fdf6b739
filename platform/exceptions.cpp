#include "platform/exceptions.h"

#include "platform/text_encoding.h"

namespace pk {

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

}  // namespace pk
