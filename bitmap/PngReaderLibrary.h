/* libpng behind the PNG reader: every call catches the library's errors with setjmp/longjmp
 * and returns a code, so that no C++ exception ever crosses a library frame. */
#ifndef BW_PNG_READER_LIBRARY_H
#define BW_PNG_READER_LIBRARY_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

enum BwPngReadCode { kBwPngReadOk = 0, kBwPngReadFailed = 1, kBwPngReadTooLarge = 2, kBwPngReadNoMemory = 3 };

struct BwPngReader;

/* Reads the header of an open file and sets up the transformations to 8-bit RGB(A) with the
 * display gamma; sides above maxSide fail with kBwPngReadTooLarge before anything is decoded. */
int BwPngReaderOpen(FILE* file, int maxSide, struct BwPngReader** reader, int* width, int* height);
/* Number of interlace passes the file needs (7 or 1). */
int BwPngReaderPasses(struct BwPngReader* reader);
/* Reads every row (all passes) and writes them as 32-bit words 0xTTRRGGBB, transparency 0 opaque:
 * the file's first row at rows[0]. rows[i] points at width words. */
int BwPngReaderReadRows(struct BwPngReader* reader, unsigned int* const* rows);
void BwPngReaderClose(struct BwPngReader* reader);

#ifdef __cplusplus
}
#endif

#endif
