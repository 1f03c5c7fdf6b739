// Instantiates the identifiers that the generated interface header declares
// (library, interface, class): one translation unit defines them for the DLL.
#include <initguid.h>

#include "PixmarlKit.h"
