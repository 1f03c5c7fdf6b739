// The automation object's rules for each format, over the one codec registry:
// the extensions the load checks accept, whether the object's own load road
// (ReadFile, ReadVariant, Base64In) reads the format (the multi-format loader
// of the merge members reads them all), and the extensions WriteFile writes it
// for, and the type names the writers by type name take. The codecs
// themselves are the registry's (formats/image_codecs.h).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "automation/automation_types.h"
#include "core/graphics_format.h"

namespace pk {

struct TFormatChannels {
  TGraphicsFormat format;
  // Lower case, without the dot; compared case-sensitively.
  std::array<std::u16string_view, 3> check_extensions;
  bool object_road_reads;
  // Lower case, with the dot.
  std::array<std::u16string_view, 2> write_extensions;
  // Writes every extension that no row names (also a name without one).
  bool writes_other_extensions;
  // Lower case; a type name is compared after one leading dot is dropped and
  // its letters A to Z lowered (it is not trimmed).
  std::array<std::u16string_view, 3> type_names;
};

std::span<const TFormatChannels> FormatChannels();

// The row of the format, or null for gfUnknown.
const TFormatChannels* ChannelsOf(TGraphicsFormat format);
bool AcceptsExtension(const TFormatChannels& channels, std::u16string_view extension);
// The format WriteFile writes for the extension (lower case, with the dot).
TGraphicsFormat WriteFormatFor(std::u16string_view extension);

// The format a writer by type name writes for the name, gfUnknown for a name
// it does not take.
TGraphicsFormat FormatForTypeName(std::u16string_view type_name);

// TIFF compression between the file's tag values and the interface's setting:
// a load takes 3, 4, 5 and 32773 as ctGroup3, ctGroup4, ctLZW and ctPackbits
// (anything else as ctNone); a write uses 32773 for ctPackbits and ctLZW, 4
// for both Group settings, 1 otherwise.
TxCompressionType CompressionTypeOf(int32_t tiff_compression);
int32_t TiffCompressionOf(TxCompressionType type);

}  // namespace pk
