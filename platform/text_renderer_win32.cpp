// The GDI text renderer of the DLL: the font record becomes a LOGFONT (face
// name cut to the field's 31 characters), measuring is GetTextExtentPoint32
// with the font's text-metric height as the cell height, and a line is drawn
// white on black into a 32-bit DIB section whose brightness is the coverage
// (grey levels when the font asks for antialiasing). Rotation is left to the
// caller, so both builds render the same upright line.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "platform/text_renderer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/gdi_text_drawing.h"
#include "platform/messages.h"
#include "platform/win32_resources.h"

#include <windows.h>

namespace pk {
namespace {

HFONT CreateFontOf(const TFontRecord& font) {
  const LOGFONTW logical = UprightLogicalFont(font);
  return CreateFontIndirectW(&logical);
}

// A memory DC with the record's font selected. The members are destroyed in
// reverse order, so the font is deselected before it is deleted and the DC
// goes last, also when the constructor throws half-way.
class TFontDc {
 public:
  explicit TFontDc(const TFontRecord& font) : font_(CreateFontOf(font)) {
    if (!dc_.Get() || !font_.Get()) throw EOutOfResources(msg::kCannotCreateFont);
    selection_.emplace(dc_.Get(), font_.Get());
  }

  HDC Get() const { return dc_.Get(); }

  void Measure(std::u16string_view text, int32_t& width, int32_t& height) const {
    SIZE extent{};
    TEXTMETRICW metrics{};
    if (!text.empty()) {
      GetTextExtentPoint32W(Get(), reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                            &extent);
    }
    GetTextMetricsW(Get(), &metrics);
    width = extent.cx;
    height = metrics.tmHeight;
  }

 private:
  UniqueMemoryDc dc_;
  UniqueGdiObject<HFONT> font_;
  std::optional<TScopedSelect> selection_;
};

class TGdiTextRenderer final : public ITextRenderer {
 public:
  void MeasureLine(const TFontRecord& font, std::u16string_view text, int32_t& width, int32_t& height) override {
    TFontDc(font).Measure(text, width, height);
  }

  TTextMask RenderLine(const TFontRecord& font, std::u16string_view text) override {
    TFontDc dc(font);
    TTextMask mask;
    dc.Measure(text, mask.width, mask.height);
    CheckedBitmapBytes(mask.width, mask.height, PixelFormat::pf32bit);
    if (mask.width <= 0 || mask.height <= 0) return TTextMask{};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = mask.width;
    info.bmiHeader.biHeight = -mask.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject<HBITMAP> canvas(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!canvas.Get() || !bits) throw EOutOfResources(msg::kInvalidBitmap);
    const size_t pixels = static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height);
    std::memset(bits, 0, pixels * 4);
    // Declared after the canvas, so it is deselected before it is deleted.
    const TScopedSelect drawing(dc.Get(), canvas.Get());
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    SetBkMode(dc.Get(), TRANSPARENT);
    TextOutW(dc.Get(), 0, 0, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
    GdiFlush();

    mask.coverage.resize(pixels);
    const auto* bgrx = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < pixels; ++i) {
      mask.coverage[i] = std::max({bgrx[4 * i], bgrx[4 * i + 1], bgrx[4 * i + 2]});
    }
    return mask;
  }

  void DrawLine(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y, std::u16string_view text) override {
    GdiDrawLine(bitmap, paint, x, y, text);
  }

  int32_t DrawInRect(TBitmap& bitmap, const TTextPaint& paint, const TRect& rect, uint32_t format,
                     std::u16string_view text) override {
    return GdiDrawInRect(bitmap, paint, rect, format, text);
  }
};

}  // namespace

std::unique_ptr<ITextRenderer> CreateSystemTextRenderer() { return std::make_unique<TGdiTextRenderer>(); }

}  // namespace pk
