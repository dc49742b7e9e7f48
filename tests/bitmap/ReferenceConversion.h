// A plain stand-in for the rasterizer's conversions: nearest palette colour (no dithering),
// 24-bit packing and the in-place un-premultiplication. It records what the writers asked for.
#pragma once

#include "bitmap/TessroConversion.h"

#include <vector>

class ReferenceConversion : public TessroConversion {
public:
  const LOGPALETTE* SelectPalette(int mode) override {
    selectedMode = mode;
    return nullptr;
  }
  int SetPalette(const LOGPALETTE* palette) override {
    ++setPaletteCalls;
    return 0;
  }
  int SetConversionPalette(const LOGPALETTE* palette) override {
    m_palette = palette;
    return 0;
  }
  int SetDitherErrorLimit(int limit) override {
    errorLimit = limit;
    return 0;
  }
  int SetDitherOrigin(int, int) override { return 0; }
  int ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits, const BITMAPINFOHEADER* targetHeader,
                    void* targetBits, int mode) override;

  int failConversions = 0;  // the next n conversions fail
  int selectedMode = -1;
  int setPaletteCalls = 0;
  int errorLimit = 0;
  std::vector<int> modes;  // every conversion's mode

private:
  int Nearest(unsigned red, unsigned green, unsigned blue) const;
  const LOGPALETTE* m_palette = nullptr;
};
