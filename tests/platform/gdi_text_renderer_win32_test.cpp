// The GDI text renderer of the DLL (runs in the cross-compiled suite under
// Wine). Checks that measuring and
// rendering agree, that ink lands inside the cell, that bold text inks more
// than regular text, that an over-long face name is accepted, and that
// drawing line after line leaks no GDI object.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/text_renderer.h"
#ifdef _WIN32
#include "tests/support/import_hook.h"
#endif

namespace pk {
namespace {

TFontRecord Font(int32_t pixels, int32_t weight = 400) {
  TFontRecord font;
  font.height = -pixels;
  font.weight = weight;
  font.face_name = u"Tahoma";
  return font;
}

int64_t Ink(const TTextMask& mask) {
  int64_t sum = 0;
  for (uint8_t value : mask.coverage) sum += value;
  return sum;
}

TEST(GdiTextRenderer, MaskHasTheMeasuredSizeAndCarriesInk) {
  auto renderer = CreateSystemTextRenderer();
  int32_t width = 0;
  int32_t height = 0;
  renderer->MeasureLine(Font(20), u"Hello", width, height);
  EXPECT_GT(width, 20);
  EXPECT_GE(height, 20);
  TTextMask mask = renderer->RenderLine(Font(20), u"Hello");
  EXPECT_EQ(mask.width, width);
  EXPECT_EQ(mask.height, height);
  ASSERT_EQ(mask.coverage.size(), static_cast<size_t>(width) * static_cast<size_t>(height));
  EXPECT_GT(Ink(mask), 0);
}

TEST(GdiTextRenderer, LongerTextIsWiderAndBoldInksMore) {
  auto renderer = CreateSystemTextRenderer();
  TTextMask short_line = renderer->RenderLine(Font(16), u"ab");
  TTextMask long_line = renderer->RenderLine(Font(16), u"abababab");
  EXPECT_GT(long_line.width, short_line.width);
  EXPECT_GT(Ink(renderer->RenderLine(Font(16, 700), u"WWW")), Ink(renderer->RenderLine(Font(16), u"WWW")));
}

TEST(GdiTextRenderer, EmptyTextAndOverlongFaceName) {
  auto renderer = CreateSystemTextRenderer();
  TTextMask empty = renderer->RenderLine(Font(16), u"");
  EXPECT_TRUE(empty.coverage.empty());
  TFontRecord font = Font(16);
  font.face_name = std::u16string(100, u'X');
  EXPECT_GT(Ink(renderer->RenderLine(font, u"x")), 0);
}

// The GDI objects the renderer creates and deletes, seen through the test
// program's own imports (Wine's GetGuiResources counts nothing). An object
// deleted while selected into one of the watched DCs is counted apart: that
// delete fails on Windows and the object leaks.
struct TGdiLedger {
  int64_t created = 0;
  int64_t live = 0;
  int64_t deleted_while_selected = 0;
  std::vector<HDC> dcs;
};
TGdiLedger ledger;
std::vector<test::TImportHook*> hooks;  // in the order Watch installs them

template <class Function>
Function Original(size_t index) {
  return hooks[index]->Original<Function>();
}

HDC WINAPI WatchedCreateCompatibleDC(HDC dc) {
  HDC created = Original<decltype(&CreateCompatibleDC)>(0)(dc);
  if (created) {
    ++ledger.created;
    ++ledger.live;
    ledger.dcs.push_back(created);
  }
  return created;
}
BOOL WINAPI WatchedDeleteDC(HDC dc) {
  const BOOL deleted = Original<decltype(&DeleteDC)>(1)(dc);
  if (deleted) {
    --ledger.live;
    ledger.dcs.erase(std::remove(ledger.dcs.begin(), ledger.dcs.end(), dc), ledger.dcs.end());
  }
  return deleted;
}
HFONT WINAPI WatchedCreateFontIndirectW(const LOGFONTW* font) {
  HFONT created = Original<decltype(&CreateFontIndirectW)>(2)(font);
  if (created) {
    ++ledger.created;
    ++ledger.live;
  }
  return created;
}
HBITMAP WINAPI WatchedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset) {
  HBITMAP created = Original<decltype(&CreateDIBSection)>(3)(dc, info, usage, bits, section, offset);
  if (created) {
    ++ledger.created;
    ++ledger.live;
  }
  return created;
}
BOOL WINAPI WatchedDeleteObject(HGDIOBJ object) {
  for (HDC dc : ledger.dcs) {
    if (GetCurrentObject(dc, OBJ_BITMAP) == object || GetCurrentObject(dc, OBJ_FONT) == object) {
      ++ledger.deleted_while_selected;
    }
  }
  const BOOL deleted = Original<decltype(&DeleteObject)>(4)(object);
  if (deleted) --ledger.live;
  return deleted;
}

TEST(GdiTextRenderer, TwentyThousandLinesLeakNoGdiObject) {
  HMODULE self = GetModuleHandleW(nullptr);
  test::TImportHook create_dc(self, L"gdi32.dll", "CreateCompatibleDC",
                              reinterpret_cast<void*>(&WatchedCreateCompatibleDC));
  test::TImportHook delete_dc(self, L"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&WatchedDeleteDC));
  test::TImportHook create_font(self, L"gdi32.dll", "CreateFontIndirectW",
                                reinterpret_cast<void*>(&WatchedCreateFontIndirectW));
  test::TImportHook create_dib(self, L"gdi32.dll", "CreateDIBSection",
                               reinterpret_cast<void*>(&WatchedCreateDIBSection));
  test::TImportHook delete_object(self, L"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&WatchedDeleteObject));
  hooks = {&create_dc, &delete_dc, &create_font, &create_dib, &delete_object};
  for (const test::TImportHook* hook : hooks) ASSERT_TRUE(hook->Installed());
  ledger = {};

  auto renderer = CreateSystemTextRenderer();
  for (int line = 0; line < 20000; ++line) renderer->RenderLine(Font(12), u"line");
  EXPECT_GE(ledger.created, 3 * 20000) << "the watch missed the renderer's GDI calls";
  EXPECT_EQ(ledger.live, 0);
  EXPECT_EQ(ledger.deleted_while_selected, 0);
  hooks.clear();
}

}  // namespace
}  // namespace pk
