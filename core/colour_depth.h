// Changing how many bits a pixel has. SetColourDepth reduces an image to 8 or
// 4 bits with an octree palette chosen for it, or to 1 bit with two mean
// colours; ChangePixelFormat re-expresses a palette image in another format
// with the same palette; RemapToPalette is the exact-match correction both
// apply after their nearest-colour blits. (MakeGreyscale lives apart.)
//
// The nearest-colour rule of every blit here is the smallest squared RGB
// distance, the lowest index among equally near entries. Every procedure
// builds its result aside, so Source may be Dest.
#pragma once

#include <cstdint>

#include "core/palette_types.h"
#include "platform/bitmap.h"

namespace pk {

// pf8bit (256 colours, 8 colour bits), pf4bit (16 colours, 4 bits) or pf1bit;
// other targets do nothing. A source of fewer bits than a 4- or 8-bit target
// only sets Dest's pixel format. A 24-bit source goes to 1 bit through 16
// octree colours.
void SetColourDepth(const TBitmap& Source, TBitmap& Dest, PixelFormat Format);

// Dest becomes a 1-bit image whose entry 0 is the mean colour of the pixels
// darker than the image's mean brightness and entry 1 that of the others (an
// empty group gives black); every pixel takes the nearer entry. A 1-bit source
// is copied unchanged; an empty source gives an empty image with black entries.
void ReduceToTwoColours(const TBitmap& Source, TBitmap& Dest);

// Dest becomes Source in the given format with Source's palette (a 24-bit
// source has none: black entries); a target that is not a palette format is
// an exact copy converted to it.
void ChangePixelFormat(const TBitmap& Source, TBitmap& Dest, PixelFormat Format);

// Every Dest pixel whose Source colour is exactly one of the first MaxColors
// entries of Colors (at most 256) becomes that entry's index, the lowest of
// equal entries; other pixels stay. Acts for an 8- or 24-bit source with a
// 4-bit destination and a 24-bit source with an 8-bit destination only.
// Bitmaps of different sizes raise EInvalidGraphicOperation.
void RemapToPalette(const TBitmap& Source, TBitmap& Dest, const TRGBQuadArray& Colors, uint16_t MaxColors);

}  // namespace pk
