// The out-of-line part of the OLE resource wrappers: locking an array's data
// can fail (a locked-out or malformed array) and then raises.
#include "ole_resources.h"

#include "platform/ole_error.h"

namespace pk::com {

SafeArrayDataLock::SafeArrayDataLock(SAFEARRAY* array) : array_(array) {
  CheckOleResult(SafeArrayAccessData(array, &data_));
}

}  // namespace pk::com
