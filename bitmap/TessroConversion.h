// The rasterizer entries that bitmap export converts through, as one narrow interface.
//
// The application hands in an adapter over its single rasterizer context; every operation
// forwards one to one to the rasterizer entry of the same name and returns its result
// (0, or -1 with the rasterizer's error code kept in its context).
#pragma once

#include "framework/core/WinTypes.h"

class TessroConversion {
public:
  virtual ~TessroConversion() = default;
  // Mode 1 builds the colour lookup of the next SetPalette from the palette's entries, 2 from
  // a fixed colour cube (ordered dithering).
  virtual const LOGPALETTE* SelectPalette(int mode) = 0;
  virtual int SetPalette(const LOGPALETTE* palette) = 0;
  // Remembered by reference: the caller keeps the palette alive during the conversion.
  virtual int SetConversionPalette(const LOGPALETTE* palette) = 0;
  virtual int SetDitherErrorLimit(int limit) = 0;
  virtual int SetDitherOrigin(int x, int y) = 0;
  // Converts a 32-bit picture into the target's depth. The low byte of mode is the method:
  // 1 ordered dithering, 3 error diffusion, 4 nearest colour, 5/6 grey mapping, 7 exact
  // lookup, 2 and 8 plain conversion. Source and target the same 32-bit buffer: mode 0
  // un-premultiplies partly transparent pixels, mode 2 also turns transparency into alpha.
  virtual int ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
                            const BITMAPINFOHEADER* targetHeader, void* targetBits, int mode) = 0;
};

// Conversion modes the writers choose.
enum TessroConversionMode {
  kConvertOrdered = 1,
  kConvertPlain16 = 2,
  kConvertErrorDiffusion = 3,
  kConvertNearest = 4,
  kConvertGrey = 5,
  kConvertGreyDithered = 6,
  kConvertExact = 7,
  kConvertPlain24 = 8,
  kConvertContinueBand = 0x100,
};
