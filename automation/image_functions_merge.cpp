// The merge members: a second image, from a file, a byte array or a bitmap
// handle, is put onto the current image (the MergeBack members) or the
// current image is put onto it and takes its place (the MergeFront members),
// once at (X, Y) or tiled from the top-left corner.
//
// The second image lives for the call only. The compositing procedure follows
// from the target's format and the overlay's transparency record; an empty
// overlay has nothing to put anywhere, so no procedure runs for it (a tiled
// placement could never repeat it) and the target keeps every pixel. Every
// merge composites onto a copy that replaces the image only when done.
#include "automation/image_functions.h"
#include "automation/file_names.h"
#include "automation/image_loader.h"
#include "automation/messages.h"
#include "core/overlay_merge.h"
#include "platform/bitmap_handles.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

enum class TCompositing { kNone, kAlphaChannel, kPaletteAlpha, kPercent, kPercentToPalette };

// What every procedure takes besides the two bitmaps and the record.
struct TMergeArguments {
  int32_t x = 0;
  int32_t y = 0;
  TWMStyle style = TWMStyle::wmSingle;
  double percent = 0;
  TColourFact transparent;
};

TCompositing ChooseCompositing(const TBitmap& target, const TBitmap& overlay, const TAlpha* alpha) {
  if (overlay.Empty()) return TCompositing::kNone;
  if (target.GetPixelFormat() != PixelFormat::pf24bit) return TCompositing::kPercentToPalette;
  const TTransparencyType kind = alpha ? alpha->TransparencyType() : TTransparencyType::ttNone;
  if (kind == TTransparencyType::ttPalette) return TCompositing::kPaletteAlpha;
  if (kind == TTransparencyType::ttAlpha) return TCompositing::kAlphaChannel;
  return TCompositing::kPercent;
}

// The procedures' result codes tell only that a pair they cannot handle was
// left alone, which is a success here too.
void Composite(TCompositing compositing, TBitmap& target, const TBitmap& overlay, const TAlpha* alpha,
               const TMergeArguments& a) {
  const bool transparent = a.transparent.present;
  const TColor colour = a.transparent.colour;
  switch (compositing) {
    case TCompositing::kNone: return;
    case TCompositing::kAlphaChannel:
      MergeAlphaOverlay(target, overlay, transparent, *alpha, a.y, a.x, a.style, a.percent, colour);
      return;
    case TCompositing::kPaletteAlpha:
      MergePaletteAlphaOverlay(target, overlay, transparent, *alpha, a.y, a.x, a.style, a.percent, colour);
      return;
    case TCompositing::kPercent:
      MergeOverlay(target, overlay, transparent, a.y, a.x, a.style, a.percent, colour);
      return;
    case TCompositing::kPercentToPalette:
      MergeOverlayToPalette(target, overlay, transparent, a.y, a.x, a.style, a.percent, colour);
      return;
  }
}

// The procedures read 1, 4, 8 and 24 bits per pixel: a decoder's 16- or
// 32-bit picture is brought to 24 bits first.
TBitmap AtMergeDepth(TBitmap image) {
  if (!IsPaletted(image.GetPixelFormat())) image.SetPixelFormat(PixelFormat::pf24bit);
  return image;
}

// The handle's bitmap, taken over (the handle is gone afterwards). A handle
// that holds no bitmap fails before anything changes.
TBitmap TakeOverHandle(int32_t handle) {
  if (!IsBitmapHandle(handle)) throw EInvalidGraphic(msg::kInvalidBitmapHandle);
  return AtMergeDepth(std::move(*TakeOverBitmapHandle(handle)));
}

}  // namespace

TLoadedImage TImageFunctions::LoadSecondImage(const std::u16string& file_name) const {
  TLoadRequest request;
  request.skip_check = settings_.FIgnoreInputFileType;
  return LoadImageFile(codecs_, TrimText(file_name), request);
}

TLoadedImage TImageFunctions::LoadSecondImage(std::span<const uint8_t> bytes) const {
  TLoadRequest request;
  request.skip_check = true;
  return LoadImageStream(codecs_, bytes, request, u"");
}

void TImageFunctions::MergeBack(const std::u16string& Foreground, int32_t X, int32_t Y) {
  FlattenAlpha();
  MergeLoadedBack(LoadSecondImage(Foreground), X, Y);
}

void TImageFunctions::MergeBackBin(std::span<const uint8_t> Foreground, int32_t X, int32_t Y) {
  FlattenAlpha();
  MergeLoadedBack(LoadSecondImage(Foreground), X, Y);
}

void TImageFunctions::MergeBackHDC(int32_t Foreground, int32_t X, int32_t Y) {
  const TBitmap overlay = TakeOverHandle(Foreground);
  FlattenAlpha();
  MergeOverlayBack(overlay, nullptr, {settings_.FTransparent, settings_.FTransparentColour}, X, Y);
}

// A picture that states a transparent colour of its own (a GIF frame, a PNG)
// is merged with it; any other with the object's.
void TImageFunctions::MergeLoadedBack(TLoadedImage foreground, int32_t X, int32_t Y) {
  const std::optional<TColourFact>& own = foreground.image.transparent;
  const TColourFact transparent =
      own && own->present ? *own : TColourFact{settings_.FTransparent, settings_.FTransparentColour};
  const TBitmap overlay = AtMergeDepth(std::move(foreground.image.bitmap));
  MergeOverlayBack(overlay, foreground.image.alpha.get(), transparent, X, Y);
}

// The image keeps its alpha record only where the overlay's own channel was
// blended in; every other procedure leaves none.
void TImageFunctions::MergeOverlayBack(const TBitmap& overlay, const TAlpha* alpha, TColourFact transparent,
                                       int32_t X, int32_t Y) {
  const TCompositing compositing = ChooseCompositing(state_.Image(), overlay, alpha);
  if (compositing == TCompositing::kNone) return;
  TBitmap target(state_.Image());
  Composite(compositing, target, overlay, alpha, {X, Y, settings_.FTile, double(settings_.FTranspercent), transparent});
  state_.Change(std::move(target), [](TAlpha&) {});
  if (compositing != TCompositing::kAlphaChannel) state_.ResetAlpha();
}

void TImageFunctions::MergeFront(const std::u16string& Background, int32_t X, int32_t Y) {
  MergeLoadedFront(LoadSecondImage(Background), X, Y);
}

void TImageFunctions::MergeFrontBin(std::span<const uint8_t> Background, int32_t X, int32_t Y) {
  MergeLoadedFront(LoadSecondImage(Background), X, Y);
}

void TImageFunctions::MergeFrontHDC(int32_t Handle, int32_t X, int32_t Y) {
  TBitmap background = TakeOverHandle(Handle);
  PutImageOnto(background, X, Y);
  state_.Replace(std::move(background), nullptr);
  settings_.FCompressionType = TxCompressionType::ctNone;
  settings_.FProgressiveJpeg = false;
  settings_.FWasCMYK = false;
}

// A background with an alpha channel is first flattened onto the colour its
// data names (the object's background colour when it names none) and then
// has no record; any other keeps its own record, which becomes the image's.
void TImageFunctions::MergeLoadedFront(TLoadedImage loaded, int32_t X, int32_t Y) {
  TDecodedImage& decoded = loaded.image;
  TBitmap background = AtMergeDepth(std::move(decoded.bitmap));
  std::unique_ptr<TAlpha> alpha = std::move(decoded.alpha);
  if (alpha && alpha->TransparencyType() == TTransparencyType::ttAlpha) {
    const TColor colour = decoded.background ? decoded.background->colour : settings_.FBackgroundColour;
    CombineAlphaWithColour(background, *alpha, colour);
    alpha.reset();
  }
  PutImageOnto(background, X, Y);
  state_.Replace(std::move(background), std::move(alpha));
  settings_.FCompressionType = TxCompressionType::ctNone;
  settings_.FWasCMYK = false;
}

// The current image with its alpha record goes onto the background, with the
// object's transparent colour. A per-index record blends with the object's
// per-index transparency onto a 24-bit background.
void TImageFunctions::PutImageOnto(TBitmap& background, int32_t X, int32_t Y) const {
  TAlpha alpha;
  alpha.Assign(state_.Alpha());
  if (background.GetPixelFormat() == PixelFormat::pf24bit &&
      alpha.TransparencyType() == TTransparencyType::ttPalette) {
    alpha.SetTransparentArray(state_.TransparentArray());
  }
  const TBitmap& overlay = state_.Image();
  Composite(ChooseCompositing(background, overlay, &alpha), background, overlay, &alpha,
            {X, Y, settings_.FTile, double(settings_.FTranspercent),
             {settings_.FTransparent, settings_.FTransparentColour}});
}

}  // namespace pk
