// TImageState: everything one automation object holds — the current image,
// its alpha record and every setting — as plain fields with the values a new
// object starts with. The object's members and the codec entries of the file
// road work on this state; keeping it apart from the member functions lets a
// codec entry or an operation be a free function of its own file, reached
// without widening the object's interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/automation_types.h"
#include "core/alpha.h"
#include "core/graphics_format.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace pk {

struct TImageState {
  TImageState();
  ~TImageState();
  TImageState(const TImageState&) = delete;
  TImageState& operator=(const TImageState&) = delete;

  // The current image: 1, 4, 8 or 24 bits per pixel; always exists (empty
  // when nothing is loaded). Replaced, never edited in place, by operations
  // that make a new image.
  std::unique_ptr<TBitmap> bmpMemory;
  // Alpha and transparency of the current image; an alpha channel always has
  // the image's size.
  std::unique_ptr<TAlpha> FAlpha;
  bool FAntialias = false;
  TColor FBackgroundColour = 0xFFFFFF;
  int32_t FColourDepth = 24;
  TxCompressionType FCompressionType = TxCompressionType::ctNone;
  int32_t FXDPI = 0;
  int32_t FYDPI = 0;
  uint8_t FExtraAlphaValue = 0;
  std::u16string FFileName;
  int32_t FFileSize = 0;
  bool FHasAlpha = false;
  bool FHasBackground = false;
  bool FIgnoreInputFileType = true;
  bool FJpegGrayscale = false;
  bool FJpegHigherSpeed = false;
  int32_t FJpegQuality = 90;
  bool FKeepAlpha = false;
  TGraphicsFormat FOriginalImageType = TGraphicsFormat::gfUnknown;
  std::u16string FOverwriteChr = u"~";
  TxowMode FOWModeType = TxowMode::owAlways;
  bool FProgressiveJpeg = false;
  int32_t FTextAngle = 0;
  TColor FTextBG = 0xFFFFFF;
  bool FTextBold = false;
  TColor FTextColour = 0x000000;
  std::u16string FTextFont;
  int32_t FTextHeight = 0;
  bool FTextItalic = false;
  TxJustifyType FTextJustify = TxJustifyType::jtLeft;
  bool FTextOpaque = true;
  int32_t FTextRectX = 0;
  int32_t FTextRectY = 0;
  int32_t FTextSize = 16;
  bool FTextStrikeout = false;
  int32_t FTextTransPercent = 0;
  bool FTextUnderline = false;
  bool FTransparent = false;
  TColor FTransparentColour = 0xFFFFFF;
  int32_t FTranspercent = 0;
  bool FTextWrap = false;
  bool FResample = false;
  bool FWasCMYK = false;
  bool FTransparentPalette = false;
  TTransparentArray FTransparentArray;
  int32_t FReadWidth = 0;
  int32_t FReadHeight = 0;
  int32_t FReadXDPI = 0;
  int32_t FReadYDPI = 0;
  TWMStyle FTile = TWMStyle::wmSingle;
  std::u16string FTest;
};

}  // namespace pk
