/* Writes the CMYK fixtures that the usual tools cannot make: a YCCK file and
 * a progressive CMYK file whose first scan holds one component. Input: a
 * binary PPM; every pixel is stored as inverted CMYK (255 - ink, the way the
 * common editors store it), with K = the darkest ink share.
 * Usage: cmyk_writer in.ppm ycck|progressive out.jpg */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

static unsigned char* read_ppm(const char* path, int* width, int* height) {
  FILE* in = fopen(path, "rb");
  int maxval = 0;
  if (!in || fscanf(in, "P6 %d %d %d", width, height, &maxval) != 3 || maxval != 255) exit(1);
  fgetc(in);
  size_t size = (size_t)*width * *height * 3;
  unsigned char* rgb = malloc(size);
  if (fread(rgb, 1, size, in) != size) exit(1);
  fclose(in);
  return rgb;
}

static void to_inverted_cmyk(const unsigned char* rgb, unsigned char* cmyk, int count) {
  for (int i = 0; i < count; ++i, rgb += 3, cmyk += 4) {
    int c = 255 - rgb[0], m = 255 - rgb[1], y = 255 - rgb[2];
    int k = c < m ? (c < y ? c : y) : (m < y ? m : y);
    int scale = 255 - k;
    cmyk[0] = (unsigned char)(255 - (scale ? (c - k) * 255 / scale : 0));
    cmyk[1] = (unsigned char)(255 - (scale ? (m - k) * 255 / scale : 0));
    cmyk[2] = (unsigned char)(255 - (scale ? (y - k) * 255 / scale : 0));
    cmyk[3] = (unsigned char)(255 - k);
  }
}

/* Every component alone in its scans: DC first, then the AC bands. */
static jpeg_scan_info scans[8];

static void single_component_progression(j_compress_ptr info) {
  for (int c = 0; c < 4; ++c) {
    scans[c] = (jpeg_scan_info){1, {c}, 0, 0, 0, 0};
    scans[4 + c] = (jpeg_scan_info){1, {c}, 1, 63, 0, 0};
  }
  info->scan_info = scans;
  info->num_scans = 8;
}

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  int width, height;
  unsigned char* rgb = read_ppm(argv[1], &width, &height);
  unsigned char* cmyk = malloc((size_t)width * height * 4);
  to_inverted_cmyk(rgb, cmyk, width * height);

  struct jpeg_compress_struct info;
  struct jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* out = fopen(argv[3], "wb");
  if (!out) return 1;
  jpeg_stdio_dest(&info, out);
  info.image_width = (JDIMENSION)width;
  info.image_height = (JDIMENSION)height;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (strcmp(argv[2], "ycck") == 0) {
    jpeg_set_colorspace(&info, JCS_YCCK);
  } else {
    jpeg_set_colorspace(&info, JCS_CMYK);
    single_component_progression(&info);
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = cmyk + (size_t)info.next_scanline * width * 4;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  fclose(out);
  free(cmyk);
  free(rgb);
  return 0;
}
