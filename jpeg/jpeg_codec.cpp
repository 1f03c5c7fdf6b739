#include "jpeg/jpeg_codec.h"

#include <algorithm>
#include <utility>

#include "jpeg/jpeg_cmyk.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/jpeg_library.h"

namespace pk {
namespace {

using jpeg_library::Compressor;
using jpeg_library::Decompressor;

// Rows handed to the library in one call: at most this many, and at most what
// it asks for when decoding.
constexpr int kRowsPerCall = 16;

constexpr char16_t kFormatName[] = u"JPEG";

JpegColourModel ColourModelOf(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_GRAYSCALE: return JpegColourModel::grey;
    case JCS_RGB: return JpegColourModel::rgb;
    case JCS_YCbCr: return JpegColourModel::ycbcr;
    case JCS_CMYK: return JpegColourModel::cmyk;
    case JCS_YCCK: return JpegColourModel::ycck;
    default: return JpegColourModel::unknown;
  }
}

J_DCT_METHOD DctMethodOf(JpegDct dct) {
  switch (dct) {
    case JpegDct::integer_fast: return JDCT_IFAST;
    case JpegDct::floating: return JDCT_FLOAT;
    case JpegDct::integer_slow: break;
  }
  return JDCT_ISLOW;
}

J_DITHER_MODE DitherModeOf(JpegDither dither) {
  switch (dither) {
    case JpegDither::none: return JDITHER_NONE;
    case JpegDither::ordered: return JDITHER_ORDERED;
    case JpegDither::floyd_steinberg: break;
  }
  return JDITHER_FS;
}

JpegHeader ReadHeader(Decompressor& decompressor) {
  jpeg_decompress_struct& info = decompressor.Info();
  decompressor.Call([&] { jpeg_read_header(&info, TRUE); });
  JpegHeader header;
  header.width = static_cast<int>(info.image_width);
  header.height = static_cast<int>(info.image_height);
  header.components = info.num_components;
  header.colour_model = ColourModelOf(info.jpeg_color_space);
  header.progressive = jpeg_has_multiple_scans(&info) != 0;
  header.has_jfif = info.saw_JFIF_marker != 0;
  if (header.has_jfif) {
    header.density_unit = info.density_unit;
    header.x_density = info.X_density;
    header.y_density = info.Y_density;
  }
  return header;
}

bool IsCmykFile(const JpegHeader& header) {
  return header.colour_model == JpegColourModel::cmyk || header.colour_model == JpegColourModel::ycck;
}

// Output colour space, scale and quantising; CMYK and YCCK files are always
// read as CMYK without quantising, whatever the options ask.
void Configure(jpeg_decompress_struct& info, const JpegHeader& header, const JpegDecodeOptions& options) {
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(options.scale_denominator);
  info.dct_method = DctMethodOf(options.dct);
  info.do_block_smoothing = options.block_smoothing ? TRUE : FALSE;
  if (IsCmykFile(header)) {
    info.out_color_space = JCS_CMYK;
    return;
  }
  info.out_color_space =
      options.grey_output || header.colour_model == JpegColourModel::grey ? JCS_GRAYSCALE : JCS_RGB;
  if (options.quantise_colours > 0) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = options.quantise_colours;
    info.two_pass_quantize = options.two_pass_quantise ? TRUE : FALSE;
    info.dither_mode = DitherModeOf(options.dither);
  }
}

JpegSize CalcOutputSize(Decompressor& decompressor) {
  jpeg_decompress_struct& info = decompressor.Info();
  decompressor.Call([&] { jpeg_calc_output_dimensions(&info); });
  return {static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
}

void SwapRedBlue(uint8_t* row, int width) {
  for (int x = 0; x < width; ++x, row += 3) std::swap(row[0], row[2]);
}

std::vector<TColor> PaletteOf(const jpeg_decompress_struct& info) {
  std::vector<TColor> palette;
  if (info.quantize_colors && info.colormap) {
    palette.reserve(static_cast<size_t>(info.actual_number_of_colors));
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
      if (info.out_color_components == 1) {
        const uint8_t grey = info.colormap[0][i];
        palette.push_back(RGB(grey, grey, grey));
      } else {
        palette.push_back(RGB(info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]));
      }
    }
  } else {
    palette.reserve(256);
    for (int i = 0; i < 256; ++i) palette.push_back(RGB(i, i, i));
  }
  return palette;
}

// The decoding loop; it runs under Guarded, so it creates no objects with
// destructors. CMYK rows pass through cmyk_rows, every other 24-bit row is
// swapped in place.
void ReadAllRows(jpeg_decompress_struct& info, uint8_t* pixels, int64_t stride, uint8_t* cmyk_rows,
                 bool swap_rows) {
  jpeg_start_decompress(&info);
  const int width = static_cast<int>(info.output_width);
  const int batch = std::clamp(info.rec_outbuf_height, 1, kRowsPerCall);
  JSAMPROW rows[kRowsPerCall];
  while (info.output_scanline < info.output_height) {
    const JDIMENSION first = info.output_scanline;
    const int count = static_cast<int>(std::min<JDIMENSION>(batch, info.output_height - first));
    for (int i = 0; i < count; ++i) {
      rows[i] = cmyk_rows ? cmyk_rows + int64_t{i} * width * 4 : pixels + (first + i) * stride;
    }
    const JDIMENSION read = jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    if (read == 0) break;
    for (JDIMENSION i = 0; i < read; ++i) {
      uint8_t* row = pixels + (first + i) * stride;
      if (cmyk_rows) {
        InvertedCmykRowToBgr(cmyk_rows + int64_t{i} * width * 4, row, width);
      } else if (swap_rows) {
        SwapRedBlue(row, width);
      }
    }
  }
}

}  // namespace

JpegHeader ReadJpegHeader(std::span<const uint8_t> bytes) {
  Decompressor decompressor(bytes);
  return ReadHeader(decompressor);
}

JpegSize JpegOutputSize(std::span<const uint8_t> bytes, const JpegDecodeOptions& options) {
  Decompressor decompressor(bytes);
  const JpegHeader header = ReadHeader(decompressor);
  Configure(decompressor.Info(), header, options);
  return CalcOutputSize(decompressor);
}

JpegHeader DecodeJpeg(std::span<const uint8_t> bytes, const JpegDecodeOptions& options, const TDecodeLimits& limits,
                      TBitmap& out) {
  Decompressor decompressor(bytes);
  jpeg_decompress_struct& info = decompressor.Info();
  const JpegHeader header = ReadHeader(decompressor);
  // The library's own buffers follow the declared size (a progressive file
  // keeps every coefficient), so the declared picture must pass as well.
  CheckDecodeClaim(limits, kFormatName, header.width, header.height, PixelFormat::pf24bit);
  Configure(info, header, options);
  const JpegSize size = CalcOutputSize(decompressor);
  const bool cmyk = IsCmykFile(header);
  const bool paletted = !cmyk && (info.out_color_space == JCS_GRAYSCALE || info.quantize_colors);
  const PixelFormat format = paletted ? PixelFormat::pf8bit : PixelFormat::pf24bit;
  // Zeroed: the library writes each row's pixels, never the row's padding.
  TByteBuffer pixels(static_cast<size_t>(CheckDecodeClaim(limits, kFormatName, size.width, size.height, format)), 0);
  std::vector<uint8_t> cmyk_rows(cmyk ? static_cast<size_t>(size.width) * 4 * kRowsPerCall : 0);
  const int64_t stride = RowBytes(size.width, format);
  decompressor.Call([&] {
    ReadAllRows(info, pixels.data(), stride, cmyk ? cmyk_rows.data() : nullptr, !paletted);
  });
  std::vector<TColor> palette = paletted ? PaletteOf(info) : std::vector<TColor>{};
  try {
    decompressor.Call([&] { jpeg_finish_decompress(&info); });
  } catch (const EJPEG&) {
    // What follows the last row (trailing markers) does not change the image.
  }
  out.Adopt(format, size.width, size.height, std::move(palette), std::move(pixels));
  return header;
}

namespace {

bool IsGreyLevels(const TBitmap& bitmap) {
  if (bitmap.GetPixelFormat() != PixelFormat::pf8bit || bitmap.ColorTable().size() != 256) return false;
  for (int i = 0; i < 256; ++i) {
    if (bitmap.ColorTable()[i] != RGB(i, i, i)) return false;
  }
  return true;
}

// Runs under Guarded: no objects with destructors.
void WriteAllRows(jpeg_compress_struct& info, const TBitmap& source, uint8_t* rgb_rows) {
  jpeg_start_compress(&info, TRUE);
  const int width = static_cast<int>(info.image_width);
  JSAMPROW rows[kRowsPerCall];
  while (info.next_scanline < info.image_height) {
    const JDIMENSION first = info.next_scanline;
    const int count = static_cast<int>(std::min<JDIMENSION>(kRowsPerCall, info.image_height - first));
    for (int i = 0; i < count; ++i) {
      const uint8_t* row = source.ScanLine(static_cast<int>(first) + i);
      if (rgb_rows) {
        uint8_t* rgb = rgb_rows + int64_t{i} * width * 3;
        std::copy(row, row + int64_t{width} * 3, rgb);
        SwapRedBlue(rgb, width);
        rows[i] = rgb;
      } else {
        rows[i] = const_cast<uint8_t*>(row);
      }
    }
    jpeg_write_scanlines(&info, rows, static_cast<JDIMENSION>(count));
  }
  jpeg_finish_compress(&info);
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& source, const JpegEncodeOptions& options) {
  const bool grey_levels = options.grey && IsGreyLevels(source);
  TBitmap converted;
  const TBitmap* input = &source;
  if (!grey_levels && source.GetPixelFormat() != PixelFormat::pf24bit) {
    converted.Assign(source);
    converted.SetPixelFormat(PixelFormat::pf24bit);
    input = &converted;
  }
  std::vector<uint8_t> rgb_rows(grey_levels ? 0 : static_cast<size_t>(source.Width()) * 3 * kRowsPerCall);

  Compressor compressor;
  jpeg_compress_struct& info = compressor.Info();
  info.image_width = static_cast<JDIMENSION>(source.Width());
  info.image_height = static_cast<JDIMENSION>(source.Height());
  info.input_components = grey_levels ? 1 : 3;
  info.in_color_space = grey_levels ? JCS_GRAYSCALE : JCS_RGB;
  compressor.Call([&] {
    jpeg_set_defaults(&info);
    info.dct_method = DctMethodOf(options.dct);
    jpeg_set_quality(&info, options.quality, options.force_baseline ? TRUE : FALSE);
    if (options.grey && !grey_levels) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (options.progressive) jpeg_simple_progression(&info);
    info.write_JFIF_header = TRUE;
    info.density_unit = static_cast<UINT8>(options.density_unit);
    info.X_density = static_cast<UINT16>(options.x_density);
    info.Y_density = static_cast<UINT16>(options.y_density);
    WriteAllRows(info, *input, grey_levels ? nullptr : rgb_rows.data());
  });
  return compressor.TakeOutput();
}

}  // namespace pk
