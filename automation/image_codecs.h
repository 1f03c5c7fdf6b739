// The codecs of the file road, as one table: for each image type, the
// extensions the load check accepts, the extensions WriteFile writes it for,
// and the functions that read data into the object's state and write the
// state's image out. Wiring a codec is filling its entry; a null function is a
// codec that is not available yet (its type then loads as "Invalid file type."
// and writes with the writer-not-available error).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "core/graphics_format.h"

namespace pk {

struct TImageState;
class TMemoryStream;
class TStream;

// Decodes data (positioned at 0) into the state: bmpMemory and the settings
// the type carries (resolution, transparency, ...).
using TImageReader = void (*)(TImageState& state, TMemoryStream& data);
// Encodes the state's image into out with the state's settings for the type.
using TImageWriter = void (*)(TImageState& state, TStream& out);

struct TImageCodec {
  TGraphicsFormat format;
  // Lower case, without the dot; compared case-sensitively.
  std::array<std::u16string_view, 3> check_extensions;
  // Lower case, with the dot.
  std::array<std::u16string_view, 2> write_extensions;
  // Writes every extension that no entry names (also a name without one).
  bool writes_other_extensions;
  TImageReader read;
  TImageWriter write;
};

// The component's codecs.
std::span<const TImageCodec> ImageCodecTable();

const TImageCodec* CodecForFormat(std::span<const TImageCodec> table, TGraphicsFormat format);
bool AcceptsExtension(const TImageCodec& codec, std::u16string_view extension);
// The entry naming the extension, else the one that writes other extensions.
const TImageCodec* CodecForWriteExtension(std::span<const TImageCodec> table, std::u16string_view extension);

}  // namespace pk
