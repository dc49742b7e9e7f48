#include "bitmap/TessroContextConversion.h"

#include "raster/TessroApi.h"

const LOGPALETTE* TessroContextConversion::SelectPalette(int mode) {
  return TessroSelectPalette(m_context, DWORD(mode));
}

int TessroContextConversion::SetPalette(const LOGPALETTE* palette) { return TessroSetPalette(m_context, palette); }

int TessroContextConversion::SetConversionPalette(const LOGPALETTE* palette) {
  return TessroSetConversionPalette(m_context, palette);
}

int TessroContextConversion::SetDitherErrorLimit(int limit) {
  return TessroSetDitherErrorLimit(m_context, DWORD(limit));
}

int TessroContextConversion::SetDitherOrigin(int x, int y) { return TessroSetDitherOrigin(m_context, x, y); }

int TessroContextConversion::ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
                                           const BITMAPINFOHEADER* targetHeader, void* targetBits, int mode) {
  return TessroConvertBitmap(m_context, sourceHeader, sourceBits, targetHeader, targetBits, DWORD(mode));
}
