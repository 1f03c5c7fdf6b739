// Conversions between the component's UTF-16 text and the 8-bit encodings it
// meets at its edges: UTF-8 (files, XML, Linux paths), Windows-1252 and the
// system ANSI code page (Windows-1252 on Linux, the process code page in the DLL).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pk {

// Invalid or unpaired code units become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view bytes);
// nullopt when the bytes are not well-formed UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included).
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view bytes);

std::u16string Windows1252ToUtf16(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'.
std::string Utf16ToWindows1252(std::u16string_view text);

std::u16string AnsiToUtf16(std::string_view bytes);
std::string Utf16ToAnsi(std::u16string_view text);

// Latin-1 view: every byte is the character with the same code, and back
// (characters above 255 keep their low byte). IPTC text is carried this way.
std::u16string BytesToLatin1(std::string_view bytes);
std::string Latin1ToBytes(std::u16string_view text);

}  // namespace pk
