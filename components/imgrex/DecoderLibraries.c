#include "components/imgrex/DecoderLibraries.h"

#include <stdio.h> /* before jpeglib.h, which uses FILE */

#include <jpeglib.h>
#include <png.h>
#include <setjmp.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

/* ---- PNG ---- */

enum { kPngSignatureSize = 8, kPngHeaderEnd = 24 };

struct MemoryReader {
  const unsigned char* data;
  size_t size;
  size_t offset;
};

static void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  struct MemoryReader* reader = (struct MemoryReader*)png_get_io_ptr(png);
  if (length > reader->size - reader->offset) png_error(png, "truncated");
  memcpy(out, reader->data + reader->offset, length);
  reader->offset += length;
}

static void PngErrorExit(png_structp png, png_const_charp message) {
  (void)message;
  png_longjmp(png, 1);
}

static void PngWarning(png_structp png, png_const_charp message) {
  (void)png;
  (void)message;
}

static unsigned long BigEndian32(const unsigned char* p) {
  return ((unsigned long)p[0] << 24) | ((unsigned long)p[1] << 16) | ((unsigned long)p[2] << 8) | p[3];
}

int ImgrexPngSize(const unsigned char* data, size_t size, int* width, int* height) {
  unsigned long w, h;
  if (!data || size < kPngHeaderEnd || png_sig_cmp(data, 0, kPngSignatureSize) != 0) return kImgrexBadData;
  if (memcmp(data + 12, "IHDR", 4) != 0) return kImgrexBadData;
  w = BigEndian32(data + 16);
  h = BigEndian32(data + 20);
  if (w == 0 || h == 0 || w > 0x7FFFFFFFul || h > 0x7FFFFFFFul) return kImgrexBadData;
  *width = (int)w;
  *height = (int)h;
  return kImgrexOk;
}

int ImgrexPngDecode(const unsigned char* data, size_t size, int maxSide, unsigned int* pixels, int width,
                    int height) {
  png_structp png;
  png_infop info;
  unsigned char* volatile rows = NULL;
  png_bytep* volatile rowPointers = NULL;
  volatile int code = kImgrexBadData;
  struct MemoryReader reader;
  size_t rowBytes, channels, y, x;
  int checkWidth = 0, checkHeight = 0;

  if (!pixels || width <= 0 || height <= 0) return kImgrexBadData;
  if (ImgrexPngSize(data, size, &checkWidth, &checkHeight) != kImgrexOk) return kImgrexBadData;
  if (checkWidth > maxSide || checkHeight > maxSide) return kImgrexTooLarge;
  if (checkWidth != width || checkHeight != height) return kImgrexBadData;

  png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, PngErrorExit, PngWarning);
  if (!png) return kImgrexNoMemory;
  info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, NULL, NULL);
    return kImgrexNoMemory;
  }
  if (setjmp(png_jmpbuf(png))) {
    free(rowPointers);
    free(rows);
    png_destroy_read_struct(&png, &info, NULL);
    return code;
  }
  png_set_user_limits(png, (png_uint_32)maxSide, (png_uint_32)maxSide);
  reader.data = data;
  reader.size = size;
  reader.offset = 0;
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_expand(png); /* palette to RGB, grey to 8 bits, transparency chunk to alpha */
  {
    const int colourType = png_get_color_type(png, info);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  channels = png_get_channels(png, info);
  rowBytes = png_get_rowbytes(png, info);
  if ((channels != 3 && channels != 4) || rowBytes != (size_t)width * channels) png_longjmp(png, 1);

  code = kImgrexNoMemory;
  if ((size_t)height > SIZE_MAX / rowBytes || (size_t)height > SIZE_MAX / sizeof(png_bytep)) png_longjmp(png, 1);
  rows = (unsigned char*)malloc(rowBytes * (size_t)height);
  rowPointers = (png_bytep*)malloc(sizeof(png_bytep) * (size_t)height);
  if (!rows || !rowPointers) png_longjmp(png, 1);
  code = kImgrexBadData;
  for (y = 0; y < (size_t)height; ++y) rowPointers[y] = rows + y * rowBytes;
  png_read_image(png, rowPointers);

  for (y = 0; y < (size_t)height; ++y) {
    const unsigned char* in = rows + y * rowBytes;
    unsigned int* out = pixels + ((size_t)height - 1 - y) * (size_t)width;
    for (x = 0; x < (size_t)width; ++x, in += channels) {
      const unsigned int alpha = channels == 4 ? in[3] : 255u;
      out[x] = ((255u - alpha) << 24) | ((unsigned int)in[0] << 16) | ((unsigned int)in[1] << 8) | in[2];
    }
  }
  free(rowPointers);
  free(rows);
  png_destroy_read_struct(&png, &info, NULL);
  return kImgrexOk;
}

/* ---- JPEG ---- */

struct JpegErrorManager {
  struct jpeg_error_mgr base;
  jmp_buf jump;
};

static void JpegErrorExit(j_common_ptr common) {
  struct JpegErrorManager* manager = (struct JpegErrorManager*)common->err;
  longjmp(manager->jump, 1);
}

static void JpegQuiet(j_common_ptr common) { (void)common; }

/* Reads the header; with pixels, decodes as well. */
static int JpegRun(const unsigned char* data, size_t size, int maxSide, unsigned int* pixels, int* width,
                   int* height) {
  struct jpeg_decompress_struct cinfo;
  struct JpegErrorManager errors;
  unsigned char* volatile row = NULL;
  volatile int code = kImgrexBadData;
  size_t x;

  if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return kImgrexBadData;
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JpegErrorExit;
  errors.base.output_message = JpegQuiet;
  if (setjmp(errors.jump)) {
    free(row);
    jpeg_destroy_decompress(&cinfo);
    return code;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, (unsigned char*)data, (unsigned long)size);
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0) longjmp(errors.jump, 1);
  if (!pixels) {
    *width = (int)cinfo.image_width;
    *height = (int)cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    return kImgrexOk;
  }
  if (cinfo.image_width > (JDIMENSION)maxSide || cinfo.image_height > (JDIMENSION)maxSide) {
    code = kImgrexTooLarge;
    longjmp(errors.jump, 1);
  }
  if (cinfo.image_width != (JDIMENSION)*width || cinfo.image_height != (JDIMENSION)*height) longjmp(errors.jump, 1);
  cinfo.out_color_space =
      (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != (JDIMENSION)*width || (cinfo.output_components != 3 && cinfo.output_components != 4))
    longjmp(errors.jump, 1);
  code = kImgrexNoMemory;
  row = (unsigned char*)malloc((size_t)cinfo.output_width * (size_t)cinfo.output_components);
  if (!row) longjmp(errors.jump, 1);
  code = kImgrexBadData;
  while (cinfo.output_scanline < cinfo.output_height) {
    const size_t y = cinfo.output_scanline;
    JSAMPROW rowPointer = row;
    const unsigned char* in = row;
    unsigned int* out = pixels + ((size_t)*height - 1 - y) * (size_t)*width;
    if (jpeg_read_scanlines(&cinfo, &rowPointer, 1) != 1) longjmp(errors.jump, 1);
    for (x = 0; x < cinfo.output_width; ++x) {
      unsigned int r, g, b;
      if (cinfo.output_components == 4) {
        /* Inverted CMYK as the common writers store it. */
        const unsigned int k = in[3];
        r = in[0] * k / 255u;
        g = in[1] * k / 255u;
        b = in[2] * k / 255u;
        in += 4;
      } else {
        r = in[0];
        g = in[1];
        b = in[2];
        in += 3;
      }
      out[x] = (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(&cinfo);
  free(row);
  jpeg_destroy_decompress(&cinfo);
  return kImgrexOk;
}

int ImgrexJpegSize(const unsigned char* data, size_t size, int* width, int* height) {
  return JpegRun(data, size, 0, NULL, width, height);
}

int ImgrexJpegDecode(const unsigned char* data, size_t size, int maxSide, unsigned int* pixels, int width,
                     int height) {
  if (!pixels || width <= 0 || height <= 0) return kImgrexBadData;
  return JpegRun(data, size, maxSide, pixels, &width, &height);
}
