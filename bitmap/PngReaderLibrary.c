#include "bitmap/PngReaderLibrary.h"

#include <png.h>
#include <setjmp.h>
#include <stdint.h>
#include <stdlib.h>

struct BwPngReader {
  png_structp png;
  png_infop info;
  int width, height, passes;
};

static const double kScreenGamma = 2.2;
static const double kDefaultFileGamma = 0.45455;

static void ErrorExit(png_structp png, png_const_charp message) {
  (void)message;
  png_longjmp(png, 1);
}

static void IgnoreWarning(png_structp png, png_const_charp message) {
  (void)png;
  (void)message;
}

int BwPngReaderOpen(FILE* file, int maxSide, struct BwPngReader** out, int* width, int* height) {
  struct BwPngReader* volatile reader;
  png_uint_32 w, h;
  int colourType;
  double fileGamma = kDefaultFileGamma;
  *out = NULL;
  if (!file) return kBwPngReadFailed;
  reader = (struct BwPngReader*)calloc(1, sizeof *reader);
  if (!reader) return kBwPngReadNoMemory;
  reader->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, ErrorExit, IgnoreWarning);
  if (reader->png) reader->info = png_create_info_struct(reader->png);
  if (!reader->png || !reader->info) {
    BwPngReaderClose(reader);
    return kBwPngReadNoMemory;
  }
  if (setjmp(png_jmpbuf(reader->png))) {
    BwPngReaderClose(reader);
    return kBwPngReadFailed;
  }
  png_set_user_limits(reader->png, (png_uint_32)maxSide, (png_uint_32)maxSide);
  png_init_io(reader->png, file);
  png_read_info(reader->png, reader->info);
  w = png_get_image_width(reader->png, reader->info);
  h = png_get_image_height(reader->png, reader->info);
  if (w == 0 || h == 0) png_longjmp(reader->png, 1);
  if (w > (png_uint_32)maxSide || h > (png_uint_32)maxSide) {
    BwPngReaderClose(reader);
    return kBwPngReadTooLarge;
  }
  colourType = png_get_color_type(reader->png, reader->info);
  png_set_strip_16(reader->png);
  png_set_expand(reader->png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(reader->png);
  if (!png_get_valid(reader->png, reader->info, PNG_INFO_sRGB) &&
      png_get_valid(reader->png, reader->info, PNG_INFO_gAMA))
    png_get_gAMA(reader->png, reader->info, &fileGamma);
  png_set_gamma(reader->png, kScreenGamma, fileGamma);
  reader->passes = png_set_interlace_handling(reader->png);
  png_read_update_info(reader->png, reader->info);
  {
    const png_byte channels = png_get_channels(reader->png, reader->info);
    if ((channels != 3 && channels != 4) || png_get_rowbytes(reader->png, reader->info) != (size_t)w * channels)
      png_longjmp(reader->png, 1);
  }
  reader->width = (int)w;
  reader->height = (int)h;
  *width = (int)w;
  *height = (int)h;
  *out = reader;
  return kBwPngReadOk;
}

int BwPngReaderPasses(struct BwPngReader* reader) { return reader ? reader->passes : 0; }

int BwPngReaderReadRows(struct BwPngReader* reader, unsigned int* const* rows) {
  unsigned char* volatile buffer = NULL;
  png_bytep* volatile pointers = NULL;
  size_t channels, rowBytes, y, x;
  if (!reader || !rows) return kBwPngReadFailed;
  channels = png_get_channels(reader->png, reader->info);
  rowBytes = (size_t)reader->width * channels;
  if ((size_t)reader->height > SIZE_MAX / rowBytes) return kBwPngReadNoMemory;
  buffer = (unsigned char*)malloc(rowBytes * (size_t)reader->height);
  pointers = (png_bytep*)malloc(sizeof(png_bytep) * (size_t)reader->height);
  if (!buffer || !pointers) {
    free(buffer);
    free(pointers);
    return kBwPngReadNoMemory;
  }
  if (setjmp(png_jmpbuf(reader->png))) {
    free(buffer);
    free(pointers);
    return kBwPngReadFailed;
  }
  for (y = 0; y < (size_t)reader->height; ++y) pointers[y] = buffer + y * rowBytes;
  /* Every pass lands in the same rows: an interlaced file gives the same picture. */
  png_read_image(reader->png, pointers);
  for (y = 0; y < (size_t)reader->height; ++y) {
    const unsigned char* in = pointers[y];
    unsigned int* out = rows[y];
    for (x = 0; x < (size_t)reader->width; ++x, in += channels) {
      const unsigned int alpha = channels == 4 ? in[3] : 255u;
      out[x] = ((255u - alpha) << 24) | ((unsigned int)in[0] << 16) | ((unsigned int)in[1] << 8) | in[2];
    }
  }
  free(buffer);
  free(pointers);
  return kBwPngReadOk;
}

void BwPngReaderClose(struct BwPngReader* reader) {
  if (!reader) return;
  if (reader->png) png_destroy_read_struct(&reader->png, reader->info ? &reader->info : NULL, NULL);
  free(reader);
}
