/* C wrappers around libjpeg and libpng for the image writers.
 *
 * The libraries report errors through callbacks; these wrappers catch them with setjmp/longjmp
 * and return a writer code (ImageExporter::Error values: 0 success, 2 unknown, 3 bad argument,
 * 8 out of memory, 9 out of range, 12 not supported). No C++ exception ever crosses a library
 * frame: on i686 mingw that would terminate the program. */
#ifndef BW_IMAGE_LIBRARY_WRAPPERS_H
#define BW_IMAGE_LIBRARY_WRAPPERS_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Writes a JPEG from 32-bit rows in memory order blue, green, red, x (the fourth byte ignored).
 * rows[i] is the i-th row of the picture from the top. */
int BwJpegWrite(FILE* file, int width, int height, const unsigned char* const* rows, int quality,
                int progressive);

/* The writer code for a libjpeg message code. */
int MapJpegMessage(int messageCode);

enum BwPngColourType { kBwPngRgb = 2, kBwPngPalette = 3, kBwPngRgbAlpha = 6 };

struct BwPngImage {
  int width;
  int height;
  int bitDepth;   /* 1, 4 or 8 for palette images, 8 for true colour */
  int colourType; /* BwPngColourType */
  int interlace;
  int compressionLevel; /* -1 for the library's default */
  /* True colour rows are in memory order blue, green, red (and a fourth byte): */
  int bytesPerPixel;    /* 3 or 4 for true colour */
  int dropFourthByte;   /* RGB from 4-byte pixels */
  const unsigned char* const* rows; /* from the top of the picture */
  const unsigned char* paletteRgb;  /* paletteCount x (red, green, blue) */
  int paletteCount;
  const unsigned char* transparency; /* one alpha byte per palette entry, or null */
  int transparencyCount;
};

int BwPngWrite(FILE* file, const struct BwPngImage* image);

#ifdef __cplusplus
}
#endif

#endif
