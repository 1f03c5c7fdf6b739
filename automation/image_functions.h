// TImageFunctions: the automation object in portable C++. It owns one current
// image with its alpha record (TImageState) and every setting (TImageSettings),
// and carries one C++ function for each member of the automation interface, in
// the order of automation/member_table.h. Every way an image comes in ends in
// ReplaceImage, which hands the image to the state and takes the facts its
// data stated into the settings. The COM shell converts at its edge only: BSTR to
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
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "automation/automation_types.h"
#include "automation/image_settings.h"
#include "automation/image_state.h"
#include "automation/response_stream.h"
#include "core/image_codec.h"

namespace pk {

class TStagedFile;
class TStream;
struct TLoadedImage;

class TImageFunctions {
 public:
  // Where StreamToBrowser finds the Response of the current page; asked
  // afresh before every call on the Response.
  using TResponseSource = pk::TResponseSource;

  TImageFunctions();
  ~TImageFunctions();
  TImageFunctions(const TImageFunctions&) = delete;
  TImageFunctions& operator=(const TImageFunctions&) = delete;

  // The image and the settings as they stand (for diagnostics and tests).
  const TImageState& State() const { return state_; }
  const TImageSettings& Settings() const { return settings_; }
  void SetResponseSource(TResponseSource source) { response_source_ = std::move(source); }
  // The codec registry (ImageCodecs() unless replaced); it must outlive the
  // object.
  void SetCodecs(std::span<const TImageCodec> codecs) { codecs_ = codecs; }

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
  bool Antialias() const { return settings_.FAntialias; }
  void SetAntialias(bool Value) { settings_.FAntialias = Value; }
  std::u16string BackgroundColor() const;
  void SetBackgroundColor(const std::u16string& Value);
  int32_t BMPHandle();
  void SetBMPHandle(int32_t Value);
  int32_t ColorDepth() const { return state_.ColourDepth(); }
  void SetColorDepth(int32_t Value);
  TxCompressionType CompressionType() const { return settings_.FCompressionType; }
  void SetCompressionType(TxCompressionType Value) { settings_.FCompressionType = Value; }
  int32_t XDPI() const { return settings_.FXDPI; }
  void SetXDPI(int32_t Value) { settings_.FXDPI = Value; }
  int32_t YDPI() const { return settings_.FYDPI; }
  void SetYDPI(int32_t Value) { settings_.FYDPI = Value; }
  int32_t ExtraAlphaValue() const { return settings_.FExtraAlphaValue; }
  void SetExtraAlphaValue(int32_t Value) { settings_.FExtraAlphaValue = static_cast<uint8_t>(Value & 0xFF); }
  std::u16string Filename() const { return settings_.FFileName; }
  int32_t FileSize() const { return settings_.FFileSize; }
  bool HasAlpha() const { return false; }
  bool HasBackground() const { return settings_.FHasBackground; }
  int32_t Height() const;
  int32_t Width() const;
  bool IgnoreInputFileType() const { return settings_.FIgnoreInputFileType; }
  void SetIgnoreInputFileType(bool Value) { settings_.FIgnoreInputFileType = Value; }
  bool JpegGrayscale() const { return settings_.FJpegGrayscale; }
  void SetJpegGrayscale(bool Value) { settings_.FJpegGrayscale = Value; }
  bool JpegHigherSpeed() const { return settings_.FJpegHigherSpeed; }
  void SetJpegHigherSpeed(bool Value) { settings_.FJpegHigherSpeed = Value; }
  int32_t JpegQuality() const { return settings_.FJpegQuality; }
  void SetJpegQuality(int32_t Value) { settings_.FJpegQuality = Value; }
  // Accepted and ignored: the object never keeps an alpha channel on request.
  bool KeepAlpha() const { return false; }
  void SetKeepAlpha(bool) {}
  int32_t NewFileSize(const std::u16string& ImgType);
  std::u16string OriginalImageType() const;
  std::u16string OverwriteChr() const { return settings_.FOverwriteChr; }
  void SetOverwriteChr(const std::u16string& Value) { settings_.FOverwriteChr = Value; }
  TxowMode OverwriteMode() const { return settings_.FOWModeType; }
  void SetOverwriteMode(TxowMode Value) { settings_.FOWModeType = Value; }
  bool ProgressiveJpeg() const { return settings_.FProgressiveJpeg; }
  void SetProgressiveJpeg(bool Value) { settings_.FProgressiveJpeg = Value; }
  int32_t ReadWidth() const { return settings_.FReadWidth; }
  int32_t ReadHeight() const { return settings_.FReadHeight; }
  bool Resample() const { return settings_.FResample; }
  void SetResample(bool Value) { settings_.FResample = Value; }
  int32_t TextAngle() const { return settings_.FTextAngle; }
  void SetTextAngle(int32_t Value) { settings_.FTextAngle = Value; }
  std::u16string TextBG() const;
  void SetTextBG(const std::u16string& Value);
  std::u16string TextColor() const;
  void SetTextColor(const std::u16string& Value);
  bool TextBold() const { return settings_.FTextBold; }
  void SetTextBold(bool Value) { settings_.FTextBold = Value; }
  bool TextItalic() const { return settings_.FTextItalic; }
  void SetTextItalic(bool Value) { settings_.FTextItalic = Value; }
  bool TextUnderline() const { return settings_.FTextUnderline; }
  void SetTextUnderline(bool Value) { settings_.FTextUnderline = Value; }
  bool TextStrikeout() const { return settings_.FTextStrikeout; }
  void SetTextStrikeout(bool Value) { settings_.FTextStrikeout = Value; }
  std::u16string TextFont() const { return settings_.FTextFont; }
  void SetTextFont(const std::u16string& Value) { settings_.FTextFont = Value; }
  int32_t TextHeight() const { return settings_.FTextHeight; }
  void SetTextHeight(int32_t Value) { settings_.FTextHeight = Value; }
  TxJustifyType TextJustify() const { return settings_.FTextJustify; }
  void SetTextJustify(TxJustifyType Value) { settings_.FTextJustify = Value; }
  bool TextOpaque() const { return settings_.FTextOpaque; }
  void SetTextOpaque(bool Value) { settings_.FTextOpaque = Value; }
  int32_t TextRectX() const { return settings_.FTextRectX; }
  void SetTextRectX(int32_t Value) { settings_.FTextRectX = Value; }
  int32_t TextRectY() const { return settings_.FTextRectY; }
  void SetTextRectY(int32_t Value) { settings_.FTextRectY = Value; }
  int32_t TextSize() const { return settings_.FTextSize; }
  void SetTextSize(int32_t Value) { settings_.FTextSize = Value; }
  int32_t TextTranspercent() const { return settings_.FTextTransPercent; }
  void SetTextTranspercent(int32_t Value) { settings_.FTextTransPercent = Value; }
  bool TextWrap() const { return settings_.FTextWrap; }
  void SetTextWrap(bool Value) { settings_.FTextWrap = Value; }
  bool Tile() const { return settings_.FTile == TWMStyle::wmTile; }
  void SetTile(bool Value) { settings_.FTile = Value ? TWMStyle::wmTile : TWMStyle::wmSingle; }
  bool Transparent() const { return settings_.FTransparent; }
  void SetTransparent(bool Value) { settings_.FTransparent = Value; }
  std::u16string TransparentColor() const;
  void SetTransparentColor(const std::u16string& Value);
  int32_t Transpercent() const { return settings_.FTranspercent; }
  void SetTranspercent(int32_t Value) { settings_.FTranspercent = Value; }
  static std::u16string Version();
  bool WasCMYK() const { return settings_.FWasCMYK; }
  std::u16string Test() const { return std::u16string(); }

  // --- dispid 287 ----------------------------------------------------------
  std::u16string Base64Out(const std::u16string& ImgType);

 private:
  // The load road shared by ReadFile, ReadVariant and Base64In; only ReadFile
  // checks the extension, and only while IgnoreInputFileType is False.
  void LoadFromBytes(std::span<const uint8_t> data, const std::u16string& extension, bool check_extension);
  // The same road from a stream at its start: a format that reads streams
  // takes its rows straight from it, the others are given its bytes whole.
  void LoadFromStream(TStream& source, const std::u16string& extension, bool check_extension);
  // What every load does before decoding, over its source at position 0: the
  // checks on the data and its extension, and the reset of the state and the
  // settings that belonged to the last image. Returns the codec of the data.
  const TImageCodec& BeginLoad(TStream& source, const std::u16string& extension, bool check_extension);
  // The settings every decoder takes.
  TDecodeOptions DecodeOptions() const;
  // Takes a new image into the state and the facts its data stated into the
  // settings; the settings it states nothing about keep their values.
  void ReplaceImage(TDecodedImage image);
  // The settings every writer takes, for the current image.
  TEncodeOptions EncodeOptions() const;
  // The registry's entry of the format, or null.
  const TImageCodec* Codec(TGraphicsFormat format) const { return FindImageCodec(codecs_, format); }
  // The alpha record flattened onto the image (every output but PNG): a
  // ttAlpha channel blended onto BackgroundColor where the image allows it,
  // and a ttAlpha or ttPalette record forgotten; other kinds stay.
  void FlattenAlpha();
  // The writer chosen by type name: one leading "." dropped, any letter case,
  // no trimming. Raises EInvalidFormat for a name it does not take and the
  // "not available yet" error for a type without a writer yet.
  std::vector<uint8_t> SaveToStreamByType(const std::u16string& ImgType);
  // "No image loaded." for an empty image (height 0).
  void RequireImage() const;
  // A paletted image's palette gets each colour it lacks in an entry of its
  // own that no pixel uses, while it has one; painting with them then hits
  // them exactly.
  void EnsurePaletteColours(std::initializer_list<TColor> Colours);
  // The merges' second image, loaded for the call: from a trimmed file name
  // with the extension checked unless IgnoreInputFileType, or from bytes
  // without the check.
  TLoadedImage LoadSecondImage(const std::u16string& file_name) const;
  TLoadedImage LoadSecondImage(std::span<const uint8_t> bytes) const;
  // The MergeBack and MergeFront steps after the second image is at hand.
  void MergeLoadedBack(TLoadedImage foreground, int32_t X, int32_t Y);
  void MergeOverlayBack(const TBitmap& overlay, const TAlpha* alpha, TColourFact transparent, int32_t X, int32_t Y);
  void MergeLoadedFront(TLoadedImage background, int32_t X, int32_t Y);
  void PutImageOnto(TBitmap& background, int32_t X, int32_t Y) const;
  // Resize's and Scale's common road: the image resampled (24 bits) or
  // stretched (its own format) to the size, the alpha channel following.
  void ResizeTo(int64_t Width, int64_t Height);

  // The target WriteFile writes to: the name, a renamed candidate, or empty
  // when nothing is to be written.
  std::u16string WriteTarget(const std::u16string& name, const std::u16string& extension) const;
  // Commits the staged file under the chosen target and returns the name
  // written, or empty when owNever found the name taken meanwhile.
  std::u16string CommitWrite(TStagedFile& staged, const std::u16string& target, const std::u16string& name,
                             const std::u16string& extension) const;

  TImageSettings settings_;
  TImageState state_;
  TResponseSource response_source_;
  std::span<const TImageCodec> codecs_;
};

}  // namespace pk
