// Every member of the automation interface IImageFunctions, once: its dispatch
// identifier, name, kind, parameters and result. The COM shell's interface
// definition is checked against this table (names, dispids, kinds, parameter
// counts and types), so the table is the one place where the interface is
// written down in C++; TImageFunctions carries one C++ function per row.
//
// A property that reads and writes has two rows with the same dispid. A
// read property with an argument (DPMtoDPI, VariantOut, PaletteEntry, ...) is
// a kPropertyGet row with parameters. Results of HRESULT members are the
// [out, retval] value; the four direct-result members return theirs without an
// HRESULT.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pk {

enum class TMemberKind : uint8_t { kMethod, kPropertyGet, kPropertyPut };

// Types as they cross the interface.
enum class TComType : uint8_t {
  kVoid,               // no result
  kLong,               // 32-bit signed
  kFloat,              // single precision
  kBool,               // VARIANT_BOOL
  kText,               // BSTR
  kVariant,            // VARIANT (byte arrays in and out)
  kTxowMode,           // 32-bit enumerations of the type library
  kTxCompressionType,
  kTxJustifyType,
};

struct TMemberParam {
  std::string_view name;
  TComType type;
};

struct TMemberInfo {
  int32_t dispid;
  std::string_view name;
  TMemberKind kind;
  std::array<TMemberParam, 4> params;  // the first param_count are used
  uint8_t param_count;
  TComType result;
  bool direct_result;  // returned as is, no HRESULT

  std::span<const TMemberParam> Params() const { return {params.data(), param_count}; }
};

namespace member_table_detail {

using K = TMemberKind;
using T = TComType;

constexpr TMemberInfo Method(int32_t id, std::string_view name, std::array<TMemberParam, 4> p = {},
                             uint8_t n = 0) {
  return {id, name, K::kMethod, p, n, T::kVoid, false};
}
constexpr TMemberInfo Direct(int32_t id, std::string_view name, TMemberParam p, T result) {
  return {id, name, K::kMethod, {p}, 1, result, true};
}
constexpr TMemberInfo Get(int32_t id, std::string_view name, T type) {
  return {id, name, K::kPropertyGet, {}, 0, type, false};
}
constexpr TMemberInfo GetWith(int32_t id, std::string_view name, TMemberParam p, T type) {
  return {id, name, K::kPropertyGet, {p}, 1, type, false};
}
constexpr TMemberInfo Put(int32_t id, std::string_view name, T type) {
  return {id, name, K::kPropertyPut, {TMemberParam{"Value", type}}, 1, T::kVoid, false};
}
constexpr TMemberParam Long(std::string_view name) { return {name, T::kLong}; }
constexpr TMemberParam Text(std::string_view name) { return {name, T::kText}; }
constexpr TMemberParam Var(std::string_view name) { return {name, T::kVariant}; }

// A read/write property is its two rows.
#define PK_PROPERTY(id, name, type) Get(id, name, type), Put(id, name, type)

inline constexpr TMemberInfo kMembers[] = {
    Method(201, "ReadFile", {Text("Filename")}, 1),
    Method(202, "WriteFile", {Text("Filename")}, 1),
    GetWith(203, "DPMtoDPI", Long("DPM"), T::kLong),
    GetWith(204, "DPItoDPM", Long("DPI"), T::kLong),
    Method(205, "ConvertToBW"),
    Method(206, "StreamToBrowser", {Text("ImgType")}, 1),
    GetWith(207, "VariantOut", Text("ImgType"), T::kVariant),
    Method(208, "Rotate", {TMemberParam{"Angle", T::kFloat}}, 1),
    Method(209, "Base64In", {Text("Input")}, 1),
    Method(210, "ClearAlpha"),
    Method(211, "CombineAlphaWithBG"),
    Method(212, "Crop", {Long("X1"), Long("Y1"), Long("X2"), Long("Y2")}, 4),
    Method(213, "FlipX"),
    Method(214, "FlipY"),
    Method(215, "GetDimensions", {Text("Filename")}, 1),
    Method(216, "GetDimensionsBin", {Var("Filestream")}, 1),
    Method(217, "Grayscale"),
    Method(218, "Invert"),
    GetWith(219, "PaletteEntry", Long("Index"), T::kText),
    {219, "PaletteEntry", K::kPropertyPut, {Long("Index"), Text("Value")}, 2, T::kVoid, false},
    Get(220, "PaletteSize", T::kLong),
    Direct(221, "ColorIndex", Text("Colour"), T::kLong),
    {222, "FindUnusedColor", K::kMethod, {}, 0, T::kLong, true},
    Direct(223, "OLEColorToStr", Long("Color"), T::kText),
    Direct(224, "StrToOLEColor", Text("Colour"), T::kLong),
    Method(225, "MergeBack", {Text("Foreground"), Long("X"), Long("Y")}, 3),
    Method(226, "MergeBackBin", {Var("Foreground"), Long("X"), Long("Y")}, 3),
    Method(227, "MergeBackHDC", {Long("Foreground"), Long("X"), Long("Y")}, 3),
    Method(228, "MergeFront", {Text("Background"), Long("X"), Long("Y")}, 3),
    Method(229, "MergeFrontBin", {Var("Background"), Long("X"), Long("Y")}, 3),
    Method(230, "MergeFrontHDC", {Long("Handle"), Long("X"), Long("Y")}, 3),
    Method(231, "NewImage", {Long("Width"), Long("Height"), Text("Colour")}, 3),
    Method(232, "ReadVariant", {Var("ImgData")}, 1),
    Method(233, "Resize", {Long("Xnew"), Long("Ynew")}, 2),
    Method(234, "ResizeFit", {Long("MaxWidth"), Long("MaxHeight")}, 2),
    Method(235, "Scale", {Long("Factor")}, 1),
    Method(236, "Text", {Long("X"), Long("Y"), Text("TextOut")}, 3),
    PK_PROPERTY(237, "Antialias", T::kBool),
    PK_PROPERTY(238, "BackgroundColor", T::kText),
    PK_PROPERTY(239, "BMPHandle", T::kLong),
    PK_PROPERTY(240, "ColorDepth", T::kLong),
    PK_PROPERTY(241, "CompressionType", T::kTxCompressionType),
    PK_PROPERTY(242, "XDPI", T::kLong),
    PK_PROPERTY(243, "YDPI", T::kLong),
    PK_PROPERTY(244, "ExtraAlphaValue", T::kLong),
    Get(245, "Filename", T::kText),
    Get(246, "FileSize", T::kLong),
    Get(247, "HasAlpha", T::kBool),
    Get(248, "HasBackground", T::kBool),
    Get(249, "Height", T::kLong),
    Get(250, "Width", T::kLong),
    PK_PROPERTY(251, "IgnoreInputFileType", T::kBool),
    PK_PROPERTY(252, "JpegGrayscale", T::kBool),
    PK_PROPERTY(253, "JpegHigherSpeed", T::kBool),
    PK_PROPERTY(254, "JpegQuality", T::kLong),
    PK_PROPERTY(255, "KeepAlpha", T::kBool),
    GetWith(256, "NewFileSize", Text("ImgType"), T::kLong),
    Get(257, "OriginalImageType", T::kText),
    PK_PROPERTY(258, "OverwriteChr", T::kText),
    PK_PROPERTY(259, "OverwriteMode", T::kTxowMode),
    PK_PROPERTY(260, "ProgressiveJpeg", T::kBool),
    Get(261, "ReadWidth", T::kLong),
    Get(262, "ReadHeight", T::kLong),
    PK_PROPERTY(263, "Resample", T::kBool),
    PK_PROPERTY(264, "TextAngle", T::kLong),
    PK_PROPERTY(265, "TextBG", T::kText),
    PK_PROPERTY(266, "TextColor", T::kText),
    PK_PROPERTY(267, "TextBold", T::kBool),
    PK_PROPERTY(268, "TextItalic", T::kBool),
    PK_PROPERTY(269, "TextUnderline", T::kBool),
    PK_PROPERTY(270, "TextStrikeout", T::kBool),
    PK_PROPERTY(271, "TextFont", T::kText),
    PK_PROPERTY(272, "TextHeight", T::kLong),
    PK_PROPERTY(273, "TextJustify", T::kTxJustifyType),
    PK_PROPERTY(274, "TextOpaque", T::kBool),
    PK_PROPERTY(275, "TextRectX", T::kLong),
    PK_PROPERTY(276, "TextRectY", T::kLong),
    PK_PROPERTY(277, "TextSize", T::kLong),
    PK_PROPERTY(278, "TextTranspercent", T::kLong),
    PK_PROPERTY(279, "TextWrap", T::kBool),
    PK_PROPERTY(280, "Tile", T::kBool),
    PK_PROPERTY(281, "Transparent", T::kBool),
    PK_PROPERTY(282, "TransparentColor", T::kText),
    PK_PROPERTY(283, "Transpercent", T::kLong),
    Get(284, "Version", T::kText),
    Get(285, "WasCMYK", T::kBool),
    Get(286, "Test", T::kText),
    GetWith(287, "Base64Out", Text("ImgType"), T::kText),
};

#undef PK_PROPERTY

}  // namespace member_table_detail

inline constexpr std::span<const TMemberInfo> kImageFunctionsMembers{member_table_detail::kMembers};

static_assert(std::size(member_table_detail::kMembers) == 125, "IImageFunctions has 125 members");

}  // namespace pk
