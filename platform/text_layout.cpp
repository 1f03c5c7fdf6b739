#include "platform/text_layout.h"

namespace pk {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// The paragraphs of the text: the pieces between breaks, CR LF counting as one.
std::vector<std::u16string_view> Paragraphs(std::u16string_view text) {
  std::vector<std::u16string_view> paragraphs;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (!IsBreak(text[i])) {
      ++i;
      continue;
    }
    paragraphs.push_back(text.substr(start, i - start));
    i += (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) paragraphs.push_back(text.substr(start));
  return paragraphs;
}

// Greedy filling: words go onto the line while they fit; the run of spaces
// before a word that does not fit is dropped with the break.
void BreakParagraph(std::u16string_view paragraph, int64_t max_width, const TExtentOf& extent,
                    std::vector<TLaidOutLine>& lines) {
  size_t line_start = 0;
  size_t line_end = 0;  // past the last word on the line
  int64_t line_width = 0;
  size_t pos = 0;
  while (pos < paragraph.size()) {
    const size_t word_start = paragraph.find_first_not_of(u' ', pos);
    if (word_start == std::u16string_view::npos) break;
    size_t word_end = paragraph.find(u' ', word_start);
    if (word_end == std::u16string_view::npos) word_end = paragraph.size();
    const int64_t gap = extent(paragraph.substr(line_end, word_start - line_end));
    const int64_t word = extent(paragraph.substr(word_start, word_end - word_start));
    if (line_end > line_start && line_width + gap + word > max_width) {
      lines.push_back({paragraph.substr(line_start, line_end - line_start), line_width});
      line_start = word_start;
      line_width = word;
    } else {
      const int64_t lead = line_end > line_start ? gap : extent(paragraph.substr(line_start, word_start - line_start));
      line_width += lead + word;
    }
    line_end = word_end;
    pos = word_end;
  }
  lines.push_back({paragraph.substr(line_start, line_end - line_start), line_width});
}

}  // namespace

std::vector<TLaidOutLine> LayOutLines(std::u16string_view text, bool word_break, int64_t max_width,
                                      const TExtentOf& extent) {
  std::vector<TLaidOutLine> lines;
  for (std::u16string_view paragraph : Paragraphs(text)) {
    if (word_break) {
      BreakParagraph(paragraph, max_width, extent, lines);
    } else {
      lines.push_back({paragraph, extent(paragraph)});
    }
  }
  return lines;
}

}  // namespace pk
