#include "core/graphics_format.h"

namespace pk {

TGraphicsFormat DetectImageType(uint8_t first_byte) {
  switch (first_byte) {
    case 0x00: return TGraphicsFormat::gfWBMP;
    case 0x0A: return TGraphicsFormat::gfPCX;
    case '%': return TGraphicsFormat::gfPDF;
    case '8': return TGraphicsFormat::gfPSD;
    case 'B': return TGraphicsFormat::gfBMP;
    case 'G': return TGraphicsFormat::gfGIF;
    case 'I':
    case 'M': return TGraphicsFormat::gfTIF;
    case 0x89: return TGraphicsFormat::gfPNG;
    case 0xFF: return TGraphicsFormat::gfJPG;
    default: return TGraphicsFormat::gfUnknown;
  }
}

std::u16string_view GraphicsFormatText(TGraphicsFormat format) {
  switch (format) {
    case TGraphicsFormat::gfBMP: return u"bmp";
    case TGraphicsFormat::gfGIF: return u"gif";
    case TGraphicsFormat::gfJPG: return u"jpg";
    case TGraphicsFormat::gfPCX: return u"pcx";
    case TGraphicsFormat::gfPNG: return u"png";
    case TGraphicsFormat::gfWBMP: return u"wbmp";
    case TGraphicsFormat::gfPSD: return u"psd";
    case TGraphicsFormat::gfTIF: return u"tif";
    case TGraphicsFormat::gfPDF: return u"pdf";
    case TGraphicsFormat::gfUnknown: break;
  }
  return u"";
}

}  // namespace pk
