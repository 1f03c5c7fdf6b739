#include "platform/text_encoding.h"

#include <array>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Decodes one UTF-8 sequence at bytes[i]; advances i. nullopt for a malformed one
// (then i has moved past the lead byte only).
std::optional<char32_t> DecodeUtf8(std::string_view bytes, size_t& i) {
  const auto lead = static_cast<uint8_t>(bytes[i++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t cp;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
  else return std::nullopt;
  if (bytes.size() - i < static_cast<size_t>(extra)) return std::nullopt;
  for (int k = 0; k < extra; ++k) {
    const auto b = static_cast<uint8_t>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += extra;
  return cp;
}

// Bytes 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes, which
// map to the C1 control of the same value as the system converter does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) AppendUtf16(out, DecodeUtf8(bytes, i).value_or(kReplacement));
  return out;
}

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto cp = DecodeUtf8(bytes, i);
    if (!cp) return std::nullopt;
    AppendUtf16(out, *cp);
  }
  return out;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    const char16_t mapped = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : 0;
    out += mapped ? mapped : static_cast<char16_t>(b);
  }
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char byte = '?';
    for (size_t k = 0; k < kCp1252High.size(); ++k) {
      if (kCp1252High[k] == c || (kCp1252High[k] == 0 && c == 0x80 + k)) {
        byte = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += byte;
  }
  return out;
}

#ifdef _WIN32
std::u16string AnsiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}
#else
std::u16string AnsiToUtf16(std::string_view bytes) { return Windows1252ToUtf16(bytes); }
std::string Utf16ToAnsi(std::u16string_view text) { return Utf16ToWindows1252(text); }
#endif

std::u16string BytesToLatin1(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<uint8_t>(bytes[i]);
  return out;
}

std::string Latin1ToBytes(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  return out;
}

}  // namespace pk
