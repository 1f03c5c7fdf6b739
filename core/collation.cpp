#include "core/collation.h"

#include <algorithm>
#include <cstdint>

namespace pk {
namespace {

// Character classes in sort order: blanks and controls, punctuation and
// symbols, digits, letters, everything else by code.
enum CharClass : uint32_t { kBlank, kSymbol, kDigit, kLetter, kOther };

struct CharWeights {
  uint32_t primary;    // class and base letter
  uint32_t secondary;  // the accent: 0 for a plain letter
  bool upper;
};

// Base letters of U+00C0..U+00FF and U+0100..U+017F; '*' marks a symbol.
constexpr char kLatin1Bases[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTsaaaaaaaceeeeiiiidnooooo*ouuuuyty";
constexpr char kLatinExtendedABases[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

constexpr uint32_t Primary(CharClass c, uint32_t value) { return c << 16 | value; }

CharWeights Letter(char base, uint32_t secondary) {
  const bool upper = base >= 'A' && base <= 'Z';
  const uint32_t lower = upper ? static_cast<uint32_t>(base + ('a' - 'A')) : static_cast<uint32_t>(base);
  return {Primary(kLetter, lower), secondary, upper};
}

// Greek and Cyrillic capitals and their small letters.
CharWeights CasedScriptLetter(char16_t c) {
  uint32_t lower = c;
  if ((c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F)) lower = c + 0x20u;
  if (c >= 0x400 && c <= 0x40F) lower = c + 0x50u;
  return {Primary(kLetter, lower), 0, lower != c};
}

bool IsCasedScriptLetter(char16_t c) {
  return (c >= 0x391 && c <= 0x3A9) || (c >= 0x3B1 && c <= 0x3C9) || (c >= 0x400 && c <= 0x45F);
}

CharWeights Weigh(char16_t c) {
  if (c <= 0x20 || (c >= 0x7F && c <= 0xA0)) return {Primary(kBlank, c), 0, false};
  if (c >= '0' && c <= '9') return {Primary(kDigit, c), 0, false};
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return Letter(static_cast<char>(c), 0);
  if (c < 0xC0) return {Primary(kSymbol, c), 0, false};
  if (c <= 0xFF) {
    const char base = kLatin1Bases[c - 0xC0];
    if (base == '*') return {Primary(kSymbol, c), 0, false};
    const bool upper = c <= 0xDE;
    return Letter(base, upper ? c + 0x20u : c);
  }
  if (c <= 0x17F) {
    const char base = kLatinExtendedABases[c - 0x100];
    // Capitals precede their small letter here; U+0178 is the capital of U+00FF.
    const bool upper = base >= 'A' && base <= 'Z';
    const uint32_t accent = c == 0x178 ? 0xFFu : upper ? c + 1u : c;
    return Letter(base, accent);
  }
  if (IsCasedScriptLetter(c)) return CasedScriptLetter(c);
  return {Primary(kOther, c), 0, false};
}

template <typename Level>
int CompareLevel(std::u16string_view a, std::u16string_view b, Level level) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto wa = level(Weigh(a[i])), wb = level(Weigh(b[i]));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return 0;
}

}  // namespace

int CollateText(std::u16string_view a, std::u16string_view b, bool case_sensitive) {
  if (int r = CompareLevel(a, b, [](const CharWeights& w) { return w.primary; })) return r;
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  if (int r = CompareLevel(a, b, [](const CharWeights& w) { return w.secondary; })) return r;
  if (!case_sensitive) return 0;
  return CompareLevel(a, b, [](const CharWeights& w) { return w.upper; });
}

}  // namespace pk
