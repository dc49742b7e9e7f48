/* C wrappers around libpng and libjpeg for the importer's decoders.
 *
 * The libraries report errors through callbacks; these wrappers catch them with setjmp/longjmp
 * and return a code, so that no C++ exception ever crosses a library frame. Sizes are checked
 * against the caller's limits before any pixel memory is allocated. */
#ifndef BW_IMGREX_DECODER_LIBRARIES_H
#define BW_IMGREX_DECODER_LIBRARIES_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum ImgrexDecodeCode {
  kImgrexOk = 0,
  kImgrexBadData = 1,    /* not a picture, or damaged */
  kImgrexTooLarge = 2,   /* beyond the size limits */
  kImgrexNoMemory = 3
};

/* Reads the size of a PNG or JPEG held in memory. */
int ImgrexPngSize(const unsigned char* data, size_t size, int* width, int* height);
int ImgrexJpegSize(const unsigned char* data, size_t size, int* width, int* height);

/* Decodes into 32-bit pixels 0xTTRRGGBB (transparency 0 opaque, 255 clear), rows bottom-up.
 * pixels must hold width x height words of the size read before; maxSide bounds each side. */
int ImgrexPngDecode(const unsigned char* data, size_t size, int maxSide, unsigned int* pixels, int width,
                    int height);
int ImgrexJpegDecode(const unsigned char* data, size_t size, int maxSide, unsigned int* pixels, int width,
                     int height);

#ifdef __cplusplus
}
#endif

#endif
