// File-name text as the automation members take it apart: trimming, the file
// part of a path, the extension and lower-casing. They work on the text alone
// (the file system is never asked) and keep the rules scripts rely on: Trim
// drops every character up to the space from both ends, and LowerCase changes
// only the letters A to Z.
#pragma once

#include <string>
#include <string_view>

namespace pk {

std::u16string TrimText(std::u16string_view text);
// The part after the last path separator (all of the text when there is none).
std::u16string ExtractFileName(std::u16string_view path);
// From the last "." of the file part to the end, dot included; empty when the
// file part has no dot.
std::u16string ExtractFileExt(std::u16string_view path);
std::u16string LowerCaseAscii(std::u16string_view text);

}  // namespace pk
