// The export conversions over a real rasterizer context (the application's, from its CTessro).
#pragma once

#include "bitmap/TessroConversion.h"

struct TessroContext;

class TessroContextConversion : public TessroConversion {
public:
  explicit TessroContextConversion(TessroContext* context) : m_context(context) {}

  const LOGPALETTE* SelectPalette(int mode) override;
  int SetPalette(const LOGPALETTE* palette) override;
  int SetConversionPalette(const LOGPALETTE* palette) override;
  int SetDitherErrorLimit(int limit) override;
  int SetDitherOrigin(int x, int y) override;
  int ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
                    const BITMAPINFOHEADER* targetHeader, void* targetBits, int mode) override;

  TessroContext* Context() const { return m_context; }

private:
  TessroContext* m_context;
};
