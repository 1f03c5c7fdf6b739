// TImageFunctions: the automation object in portable C++. It owns one current
// image with its alpha record and every setting (TImageState), and carries one
// C++ function for each member of the automation interface, in the order of
// automation/member_table.h. The COM shell converts at its edge only: BSTR to
// std::u16string, VARIANT_BOOL to bool, VARIANT byte arrays to byte spans and
// vectors, GDI bitmap handles as 32-bit values through platform/bitmap_handles.h.
// Every failure is a pk::Exception whose message reaches the client verbatim;
// state changed before a failure stays (there is no rollback).
//
// Read properties are named as the interface names them; a write is Set + the
// name. Members whose work belongs to operations not yet built raise
// ENotImplemented "Not implemented yet." until they are wired.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "automation/automation_types.h"
#include "automation/image_codecs.h"
#include "automation/image_state.h"
#include "platform/asp_response.h"

namespace pk {

class TMemoryStream;

class TImageFunctions : private TImageState {
 public:
  // Where StreamToBrowser finds the Response of the current page; asked
  // afresh before every call on the Response.
  using TResponseSource = std::function<std::unique_ptr<IAspResponse>()>;

  TImageFunctions();
  ~TImageFunctions();
  TImageFunctions(const TImageFunctions&) = delete;
  TImageFunctions& operator=(const TImageFunctions&) = delete;

  // The state as it stands (for the COM shell's diagnostics and for tests).
  const TImageState& State() const { return *this; }
  void SetResponseSource(TResponseSource source) { response_source_ = std::move(source); }
  // The codecs of the file road (ImageCodecTable() unless replaced); the table
  // must outlive the object.
  void SetCodecTable(std::span<const TImageCodec> codecs) { codecs_ = codecs; }

  // --- Methods (dispids 201 to 236) -------------------------------------
  void ReadFile(const std::u16string& Filename);
  void WriteFile(const std::u16string& Filename);
  // Resolution conversions; they never fail (results clamp to the long range).
  static int32_t DPMtoDPI(int32_t DPM);
  static int32_t DPItoDPM(int32_t DPI);
  void ConvertToBW();
  void StreamToBrowser(const std::u16string& ImgType);
  std::vector<uint8_t> VariantOut(const std::u16string& ImgType);
  void Rotate(float Angle);
  void Base64In(const std::u16string& Input);
  void ClearAlpha();
  void CombineAlphaWithBG();
  void Crop(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void FlipX();
  void FlipY();
  void GetDimensions(const std::u16string& Filename);
  void GetDimensionsBin(std::span<const uint8_t> Filestream);
  void Grayscale();
  void Invert();
  std::u16string PaletteEntry(int32_t Index);
  void SetPaletteEntry(int32_t Index, const std::u16string& Value);
  int32_t PaletteSize();
  // The four members with a direct result (no HRESULT in the interface).
  int32_t ColorIndex(const std::u16string& Colour);
  int32_t FindUnusedColor();
  static std::u16string OLEColorToStr(int32_t Color);
  static int32_t StrToOLEColor(const std::u16string& Colour);
  void MergeBack(const std::u16string& Foreground, int32_t X, int32_t Y);
  void MergeBackBin(std::span<const uint8_t> Foreground, int32_t X, int32_t Y);
  void MergeBackHDC(int32_t Foreground, int32_t X, int32_t Y);
  void MergeFront(const std::u16string& Background, int32_t X, int32_t Y);
  void MergeFrontBin(std::span<const uint8_t> Background, int32_t X, int32_t Y);
  void MergeFrontHDC(int32_t Handle, int32_t X, int32_t Y);
  void NewImage(int32_t Width, int32_t Height, const std::u16string& Colour);
  void ReadVariant(std::span<const uint8_t> ImgData);
  void Resize(int32_t Xnew, int32_t Ynew);
  void ResizeFit(int32_t MaxWidth, int32_t MaxHeight);
  void Scale(int32_t Factor);
  void Text(int32_t X, int32_t Y, const std::u16string& TextOut);

  // --- Properties (dispids 237 to 286) ----------------------------------
  bool Antialias() const { return FAntialias; }
  void SetAntialias(bool Value) { FAntialias = Value; }
  std::u16string BackgroundColor() const;
  void SetBackgroundColor(const std::u16string& Value);
  int32_t BMPHandle();
  void SetBMPHandle(int32_t Value);
  int32_t ColorDepth() const { return FColourDepth; }
  void SetColorDepth(int32_t Value);
  TxCompressionType CompressionType() const { return FCompressionType; }
  void SetCompressionType(TxCompressionType Value) { FCompressionType = Value; }
  int32_t XDPI() const { return FXDPI; }
  void SetXDPI(int32_t Value) { FXDPI = Value; }
  int32_t YDPI() const { return FYDPI; }
  void SetYDPI(int32_t Value) { FYDPI = Value; }
  int32_t ExtraAlphaValue() const { return FExtraAlphaValue; }
  void SetExtraAlphaValue(int32_t Value) { FExtraAlphaValue = static_cast<uint8_t>(Value & 0xFF); }
  std::u16string Filename() const { return FFileName; }
  int32_t FileSize() const { return FFileSize; }
  bool HasAlpha() const { return false; }
  bool HasBackground() const { return FHasBackground; }
  int32_t Height() const;
  int32_t Width() const;
  bool IgnoreInputFileType() const { return FIgnoreInputFileType; }
  void SetIgnoreInputFileType(bool Value) { FIgnoreInputFileType = Value; }
  bool JpegGrayscale() const { return FJpegGrayscale; }
  void SetJpegGrayscale(bool Value) { FJpegGrayscale = Value; }
  bool JpegHigherSpeed() const { return FJpegHigherSpeed; }
  void SetJpegHigherSpeed(bool Value) { FJpegHigherSpeed = Value; }
  int32_t JpegQuality() const { return FJpegQuality; }
  void SetJpegQuality(int32_t Value) { FJpegQuality = Value; }
  // Accepted and ignored: the object never keeps an alpha channel on request.
  bool KeepAlpha() const { return false; }
  void SetKeepAlpha(bool) {}
  int32_t NewFileSize(const std::u16string& ImgType);
  std::u16string OriginalImageType() const;
  std::u16string OverwriteChr() const { return FOverwriteChr; }
  void SetOverwriteChr(const std::u16string& Value) { FOverwriteChr = Value; }
  TxowMode OverwriteMode() const { return FOWModeType; }
  void SetOverwriteMode(TxowMode Value) { FOWModeType = Value; }
  bool ProgressiveJpeg() const { return FProgressiveJpeg; }
  void SetProgressiveJpeg(bool Value) { FProgressiveJpeg = Value; }
  int32_t ReadWidth() const { return FReadWidth; }
  int32_t ReadHeight() const { return FReadHeight; }
  bool Resample() const { return FResample; }
  void SetResample(bool Value) { FResample = Value; }
  int32_t TextAngle() const { return FTextAngle; }
  void SetTextAngle(int32_t Value) { FTextAngle = Value; }
  std::u16string TextBG() const;
  void SetTextBG(const std::u16string& Value);
  std::u16string TextColor() const;
  void SetTextColor(const std::u16string& Value);
  bool TextBold() const { return FTextBold; }
  void SetTextBold(bool Value) { FTextBold = Value; }
  bool TextItalic() const { return FTextItalic; }
  void SetTextItalic(bool Value) { FTextItalic = Value; }
  bool TextUnderline() const { return FTextUnderline; }
  void SetTextUnderline(bool Value) { FTextUnderline = Value; }
  bool TextStrikeout() const { return FTextStrikeout; }
  void SetTextStrikeout(bool Value) { FTextStrikeout = Value; }
  std::u16string TextFont() const { return FTextFont; }
  void SetTextFont(const std::u16string& Value) { FTextFont = Value; }
  int32_t TextHeight() const { return FTextHeight; }
  void SetTextHeight(int32_t Value) { FTextHeight = Value; }
  TxJustifyType TextJustify() const { return FTextJustify; }
  void SetTextJustify(TxJustifyType Value) { FTextJustify = Value; }
  bool TextOpaque() const { return FTextOpaque; }
  void SetTextOpaque(bool Value) { FTextOpaque = Value; }
  int32_t TextRectX() const { return FTextRectX; }
  void SetTextRectX(int32_t Value) { FTextRectX = Value; }
  int32_t TextRectY() const { return FTextRectY; }
  void SetTextRectY(int32_t Value) { FTextRectY = Value; }
  int32_t TextSize() const { return FTextSize; }
  void SetTextSize(int32_t Value) { FTextSize = Value; }
  int32_t TextTranspercent() const { return FTextTransPercent; }
  void SetTextTranspercent(int32_t Value) { FTextTransPercent = Value; }
  bool TextWrap() const { return FTextWrap; }
  void SetTextWrap(bool Value) { FTextWrap = Value; }
  bool Tile() const { return FTile == TWMStyle::wmTile; }
  void SetTile(bool Value) { FTile = Value ? TWMStyle::wmTile : TWMStyle::wmSingle; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  std::u16string TransparentColor() const;
  void SetTransparentColor(const std::u16string& Value);
  int32_t Transpercent() const { return FTranspercent; }
  void SetTranspercent(int32_t Value) { FTranspercent = Value; }
  static std::u16string Version();
  bool WasCMYK() const { return FWasCMYK; }
  std::u16string Test() const { return std::u16string(); }

  // --- dispid 287 ----------------------------------------------------------
  std::u16string Base64Out(const std::u16string& ImgType);

  // Sets FColourDepth from the image's pixel format; any format but 1, 4 and
  // 8 bits becomes 24 bits without a palette.
  void UpdateColourDepth();

 private:
  // The load road shared by ReadFile, ReadVariant and Base64In; only ReadFile
  // checks the extension, and only while IgnoreInputFileType is False.
  void LoadFromMemoryStream(TMemoryStream& stream, const std::u16string& extension, bool check_extension);
  // The alpha record flattened onto the image (every output but PNG).
  void FlattenAlpha();

  // The target WriteFile writes to: the name, a renamed candidate, or empty
  // when nothing is to be written.
  std::u16string WriteTarget(const std::u16string& name, const std::u16string& extension) const;
  // Commits the encoded file under the chosen target and returns the name
  // written, or empty when owNever found the name taken meanwhile.
  std::u16string CommitWrite(const std::u16string& target, const std::u16string& name,
                             const std::u16string& extension, std::span<const uint8_t> bytes) const;

  TResponseSource response_source_;
  std::span<const TImageCodec> codecs_;
};

}  // namespace pk
