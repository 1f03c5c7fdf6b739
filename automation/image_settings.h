// TImageSettings: the automation object's settings, with the values a new
// object starts with. Each is a plain value that its property stores unchanged
// and the members read when they act; a load changes those its data states
// (resolution, transparency, the JPEG and TIFF settings). What belongs to the
// image itself is TImageState's.
#pragma once

#include <cstdint>
#include <string>

#include "automation/automation_types.h"
#include "core/graphics_format.h"
#include "core/wm_style.h"
#include "platform/color.h"

namespace pk {

struct TImageSettings {
  bool FAntialias = false;
  TColor FBackgroundColour = 0xFFFFFF;
  TxCompressionType FCompressionType = TxCompressionType::ctNone;
  int32_t FXDPI = 0;
  int32_t FYDPI = 0;
  uint8_t FExtraAlphaValue = 0;
  std::u16string FFileName;
  int32_t FFileSize = 0;
  bool FHasBackground = false;
  bool FIgnoreInputFileType = true;
  bool FJpegGrayscale = false;
  bool FJpegHigherSpeed = false;
  int32_t FJpegQuality = 90;
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
  int32_t FReadWidth = 0;
  int32_t FReadHeight = 0;
  int32_t FReadXDPI = 0;
  int32_t FReadYDPI = 0;
  TWMStyle FTile = TWMStyle::wmSingle;
};

}  // namespace pk
