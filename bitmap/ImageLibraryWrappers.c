#include "bitmap/ImageLibraryWrappers.h"

#include <png.h>
#include <jpeglib.h>
#include <jerror.h>
#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

enum { kOk = 0, kUnknown = 2, kBadArgument = 3, kOutOfMemory = 8, kOutOfRange = 9, kNotSupported = 12 };

/* ---------------------------------------------------------------------------------------- */
/* JPEG */

struct JpegMessageMap {
  int message;
  int error;
};

/* Searched in order; a code that is not here gives kUnknown. */
static const struct JpegMessageMap kJpegMessages[] = {
    {JERR_ARITH_NOTIMPL, kNotSupported},     {JERR_BAD_DCTSIZE, kNotSupported},
    {JERR_CCIR601_NOTIMPL, kNotSupported},   {JERR_CONVERSION_NOTIMPL, kNotSupported},
    {JERR_EMPTY_IMAGE, kNotSupported},       {JERR_FRACT_SAMPLE_NOTIMPL, kNotSupported},
    {JERR_NOTIMPL, kNotSupported},           {JERR_SOF_UNSUPPORTED, kNotSupported},
    {JERR_UNKNOWN_MARKER, kNotSupported},    {JERR_BAD_MCU_SIZE, kOutOfRange},
    {JERR_COMPONENT_COUNT, kOutOfRange},     {JERR_HUFF_CLEN_OVERFLOW, kOutOfRange},
    {JERR_IMAGE_TOO_BIG, kOutOfRange},       {JERR_OUT_OF_MEMORY, kOutOfRange},
    {JERR_QUANT_COMPONENTS, kOutOfRange},    {JERR_QUANT_FEW_COLORS, kOutOfRange},
    {JERR_QUANT_MANY_COLORS, kOutOfRange},   {JERR_WIDTH_OVERFLOW, kOutOfRange},
    {JERR_BAD_ALIGN_TYPE, kBadArgument},     {JERR_BAD_ALLOC_CHUNK, kBadArgument},
    {JERR_BAD_COMPONENT_ID, kBadArgument},   {JERR_BAD_IN_COLORSPACE, kBadArgument},
    {JERR_BAD_J_COLORSPACE, kBadArgument},   {JERR_BAD_LENGTH, kBadArgument},
    {JERR_BAD_SAMPLING, kBadArgument},       {JERR_DAC_INDEX, kBadArgument},
    {JERR_DAC_VALUE, kBadArgument}, 
    {JERR_DHT_INDEX, kBadArgument},          {JERR_DQT_INDEX, kBadArgument},
    {JERR_HUFF_MISSING_CODE, kBadArgument},  {JERR_INPUT_EOF, kBadArgument},
    {JERR_NO_HUFF_TABLE, kBadArgument},      {JERR_NO_IMAGE, kBadArgument},
    {JERR_NO_QUANT_TABLE, kBadArgument},     {JERR_SOF_DUPLICATE, kBadArgument},
    {JERR_SOF_NO_SOS, kBadArgument},         {JERR_SOI_DUPLICATE, kBadArgument},
    {JERR_SOS_NO_SOF, kBadArgument},         {JWRN_ADOBE_XFORM, kBadArgument},
    {JWRN_BOGUS_PROGRESSION, kBadArgument},  {JWRN_EXTRANEOUS_DATA, kBadArgument},
    {JWRN_HIT_MARKER, kBadArgument},         {JWRN_HUFF_BAD_CODE, kBadArgument},
    {JWRN_JFIF_MAJOR, kBadArgument},         {JWRN_JPEG_EOF, kBadArgument},
    {JWRN_MUST_RESYNC, kBadArgument},        {JWRN_NOT_SEQUENTIAL, kBadArgument},
};

int MapJpegMessage(int messageCode) {
  size_t i;
  /* Trace messages never reach the error exit. */
  if (messageCode >= JTRC_16BIT_TABLES && messageCode <= JTRC_UNKNOWN_IDS) return kOk;
  for (i = 0; i < sizeof kJpegMessages / sizeof kJpegMessages[0]; ++i)
    if (kJpegMessages[i].message == messageCode) return kJpegMessages[i].error;
  return kUnknown;
}

struct JpegErrorManager {
  struct jpeg_error_mgr base;
  jmp_buf escape;
  int code;
};

static void JpegErrorExit(j_common_ptr cinfo) {
  struct JpegErrorManager* manager = (struct JpegErrorManager*)cinfo->err;
  manager->code = MapJpegMessage(manager->base.msg_code);
  if (manager->code == kOk) manager->code = kUnknown;
  longjmp(manager->escape, 1);
}

static void JpegSilentMessage(j_common_ptr cinfo) { (void)cinfo; }

int BwJpegWrite(FILE* file, int width, int height, const unsigned char* const* rows, int quality,
                int progressive) {
  struct jpeg_compress_struct cinfo;
  struct JpegErrorManager errors;
  volatile int created = 0;
  if (!file || !rows || width <= 0 || height <= 0) return kBadArgument;
  memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JpegErrorExit;
  errors.base.output_message = JpegSilentMessage;
  errors.code = kUnknown;
  if (setjmp(errors.escape)) {
    if (created) jpeg_destroy_compress(&cinfo);
    return errors.code;
  }
  jpeg_CreateCompress(&cinfo, JPEG_LIB_VERSION, sizeof cinfo);
  created = 1;
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = (JDIMENSION)width;
  cinfo.image_height = (JDIMENSION)height;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = (JSAMPROW)rows[cinfo.next_scanline];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return kOk;
}

/* ---------------------------------------------------------------------------------------- */
/* PNG */

static void PngWriteError(png_structp png, png_const_charp message) {
  (void)message;
  png_longjmp(png, 1);
}

static void PngWriteWarning(png_structp png, png_const_charp message) {
  (void)png;
  (void)message;
}

int BwPngWrite(FILE* file, const struct BwPngImage* image) {
  png_structp png;
  png_infop info = NULL;
  png_color palette[256];
  int i;
  if (!file || !image || !image->rows || image->width <= 0 || image->height <= 0) return kBadArgument;
  if (image->colourType == kBwPngPalette && (image->paletteCount < 1 || image->paletteCount > 256))
    return kBadArgument;
  png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, PngWriteError, PngWriteWarning);
  if (!png) return kUnknown;
  info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, NULL);
    return kUnknown;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return kUnknown;
  }
  png_init_io(png, file);
  if (image->compressionLevel >= 0) png_set_compression_level(png, image->compressionLevel);
  png_set_IHDR(png, info, (png_uint_32)image->width, (png_uint_32)image->height, image->bitDepth,
               image->colourType, image->interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (image->colourType == kBwPngPalette) {
    for (i = 0; i < image->paletteCount; ++i) {
      palette[i].red = image->paletteRgb[3 * i];
      palette[i].green = image->paletteRgb[3 * i + 1];
      palette[i].blue = image->paletteRgb[3 * i + 2];
    }
    png_set_PLTE(png, info, palette, image->paletteCount);
    if (image->transparency && image->transparencyCount > 0)
      png_set_tRNS(png, info, image->transparency, image->transparencyCount, NULL);
  }
  png_write_info(png, info);
  /* Palette rows are indices: libpng refuses byte-order transforms on them. */
  if (image->colourType != kBwPngPalette) {
    if (image->dropFourthByte) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
  }
  png_write_image(png, (png_bytepp)image->rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return kOk;
}
