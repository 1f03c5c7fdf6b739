// Members of the automation interface whose operations (rotation and the
// black-and-white conversion) are not built yet. Each exists with its final
// signature and raises "Not implemented yet." until its operation is wired;
// wiring one moves it out of this file.
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

[[noreturn]] void NotImplementedYet() { throw ENotImplemented(msg::kNotImplementedYet); }

}  // namespace

void TImageFunctions::ConvertToBW() { NotImplementedYet(); }
void TImageFunctions::Rotate(float) { NotImplementedYet(); }

}  // namespace pk
