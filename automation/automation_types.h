// The enumerations of the automation interface. Each crosses the interface as
// a 32-bit value, and the property setters store whatever value a client
// sends, so every enumeration here is a plain 32-bit type: a value outside
// its named members is held unchanged and the code that reads it decides.
#pragma once

#include <cstdint>

namespace pk {

// What WriteFile does when the target name already exists.
enum class TxowMode : int32_t { owAlways = 0, owNever = 1, owRename = 2 };

// TIFF compression for writing; set by TIFF loads.
enum class TxCompressionType : int32_t { ctNone = 0, ctPackbits = 1, ctGroup4 = 2, ctGroup3 = 3, ctLZW = 4 };

enum class TxJustifyType : int32_t { jtLeft = 0, jtCentre = 1, jtRight = 2 };

// Declared by the interface for its clients; no member takes it.
enum class TxFilterType : int32_t { ft1 = 0, ft2, ft3, ft4, ft5, ft6, ft7 };

}  // namespace pk
