// Members of the automation interface whose operations (other input and
// output channels, merging, text, rotation) are not built
// yet. Each exists with its final signature and raises "Not implemented yet."
// until its operation is wired; wiring one moves it out of this file.
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

[[noreturn]] void NotImplementedYet() { throw ENotImplemented(msg::kNotImplementedYet); }

}  // namespace

void TImageFunctions::ConvertToBW() { NotImplementedYet(); }
void TImageFunctions::Rotate(float) { NotImplementedYet(); }
void TImageFunctions::MergeBack(const std::u16string&, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::MergeBackBin(std::span<const uint8_t>, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::MergeBackHDC(int32_t, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::MergeFront(const std::u16string&, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::MergeFrontBin(std::span<const uint8_t>, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::MergeFrontHDC(int32_t, int32_t, int32_t) { NotImplementedYet(); }
void TImageFunctions::Text(int32_t, int32_t, const std::u16string&) { NotImplementedYet(); }

}  // namespace pk
