// GDI drawing of text onto a bitmap (Windows builds only): the bitmap's rows
// go into a DIB section of the same layout and colour table, GDI draws on it
// with the paint's font and colours, and the rows come back. GDI itself maps
// colours to the nearest table entry of a paletted DIB. The text renderer of
// the DLL draws through these two calls and shares the upright LOGFONT.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/text_renderer.h"

// After the platform headers, whose colour helpers windows.h would shadow.
#include <windows.h>

namespace pk {

// The record as a LOGFONT without escapement or orientation; the face name is
// cut to the field's 31 characters.
LOGFONTW UprightLogicalFont(const TFontRecord& font);

void GdiDrawLine(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y, std::u16string_view text);
int32_t GdiDrawInRect(TBitmap& bitmap, const TTextPaint& paint, const TRect& rect, uint32_t format,
                      std::u16string_view text);

}  // namespace pk
